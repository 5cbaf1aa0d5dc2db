#include "TreeList.h"

#include "NumText.h"
#include "RowCommands.h"
#include "UnitData.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowHeight = 18;

const TColumnDef& DefaultColumn()
{
    static const TColumnDef column;
    return column;
}

} // namespace

// The editors and the drawing of the typed columns.
class TTreeListDelegate final : public QStyledItemDelegate {
public:
    explicit TTreeListDelegate(TTreeList* list) : QStyledItemDelegate(list), m_list(list) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QRect TickRect(const QStyleOptionViewItem& option) const;
    TTreeList* m_list;
};

QWidget* TTreeListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const TColumnDef& column = m_list->Column(index.column());
    if (column.ReadOnly || column.Kind == TColumnKind::Tick)
        return nullptr;
    // Announced before the editor reads the cell, so that a cell the owner
    // fills now is what the editor shows.
    emit m_list->EditingStarted(index.row(), index.column());
    QWidget* editor;
    if (column.Kind == TColumnKind::Choice) {
        auto* combo = new QComboBox(parent);
        combo->addItems(column.Choices);
        editor = combo;
    } else {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setAlignment(column.Align);
        editor = edit;
    }
    m_list->EditorOpening(editor, index);
    return editor;
}

void TTreeListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = m_list->Cell(index.row(), index.column());
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(combo->findText(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        edit->setText(text);
}

void TTreeListDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // A text that is none of the choices stays until one is picked.
        if (combo->currentIndex() >= 0)
            m_list->SetCell(index.row(), index.column(), combo->currentText());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        m_list->SetCell(index.row(), index.column(), edit->text());
    }
}

QSize TTreeListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), RowHeight};
}

void TTreeListDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const TColumnDef& column = m_list->Column(index.column());
    option->displayAlignment = column.Align;
    option->text = column.Kind == TColumnKind::Tick ? QString() : m_list->DisplayText(index.row(), index.column());
    if (index.column() == 0 && column.ReadOnly)
        option->backgroundBrush = option->palette.button();
}

QRect TTreeListDelegate::TickRect(const QStyleOptionViewItem& option) const
{
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (!style)
        return {};
    const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
}

void TTreeListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const TColumnDef& column = m_list->Column(index.column());
    if (column.Kind != TColumnKind::Tick) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (!style)
        return;
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    QStyleOptionViewItem tick = cell;
    tick.rect = TickRect(cell);
    tick.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange);
    tick.state |= m_list->Cell(index.row(), index.column()) == column.TickOn ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &tick, painter, widget);
}

bool TTreeListDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                    const QModelIndex& index)
{
    const TColumnDef& column = m_list->Column(index.column());
    if (column.Kind != TColumnKind::Tick || column.ReadOnly)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !TickRect(option).contains(mouse->position().toPoint()))
            return false;
        // Press and double click are taken so that only the release toggles.
        if (event->type() == QEvent::MouseButtonRelease)
            m_list->ToggleTick(index);
        return true;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        m_list->ToggleTick(index);
        return true;
    }
    default:
        return false;
    }
}

TTreeList::TTreeList(QWidget* parent) : QTreeWidget(parent)
{
    setItemDelegate(new TTreeListDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);

    RowMenu = CreateRowMenu(this, {[this] { PasteData(); }, [this] { InsertRow(); }, [this] { MoveRowUp(); },
                                   [this] { MoveRowDown(); }, [this] { DeleteRow(); }, [this] { ClearRows(); },
                                   [this] { ExportList(); }});
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (!RowMenu->isEmpty())
            RowMenu->popup(viewport()->mapToGlobal(pos));
    });
}

void TTreeList::SetColumns(const QList<TColumnDef>& columns)
{
    m_columns = columns;
    setColumnCount(int(columns.size()));
    QStringList captions;
    for (const TColumnDef& column : columns)
        captions.append(column.Caption);
    setHeaderLabels(captions);
    for (int c = 0; c < columns.size(); ++c) {
        setColumnWidth(c, columns[c].Width);
        setColumnHidden(c, !columns[c].Visible);
    }
}

const TColumnDef& TTreeList::Column(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns[column] : DefaultColumn();
}

void TTreeList::SetColumnCaption(int column, const QString& caption)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].Caption = caption;
    headerItem()->setText(column, caption);
}

void TTreeList::SetColumnVisible(int column, bool visible)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].Visible = visible;
    setColumnHidden(column, !visible);
}

bool TTreeList::IsColumnVisible(int column) const
{
    return column >= 0 && column < columnCount() && !isColumnHidden(column);
}

void TTreeList::SetRowCount(int n)
{
    clear();
    m_editor = nullptr;
    if (n <= 0)
        return;
    QList<QTreeWidgetItem*> items;
    items.reserve(n);
    for (int k = 1; k <= n; ++k) {
        auto* item = new QTreeWidgetItem;
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setText(0, QString::number(k));
        for (int c = 1; c < columnCount(); ++c)
            item->setText(c, QString());
        items.append(item);
    }
    addTopLevelItems(items);
}

int TTreeList::RowCount() const
{
    return topLevelItemCount();
}

QString TTreeList::Cell(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && column >= 0 ? item->text(column) : QString();
}

void TTreeList::SetCell(int row, int column, const QString& text)
{
    if (QTreeWidgetItem* item = topLevelItem(row); item && column >= 0 && column < columnCount())
        item->setText(column, text);
}

QString TTreeList::DisplayText(int row, int column) const
{
    const QString text = Cell(row, column);
    if (Column(column).Kind != TColumnKind::Currency)
        return text;
    const auto value = TextToFloat(text.toStdString());
    if (!value)
        return text;
    const QString number = QString::fromStdString(FixedText(std::abs(*value), 2));
    return (*value < 0 ? u"-"_s : QString()) % number % u"/㎡"_s;
}

int TTreeList::CurrentRow() const
{
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

void TTreeList::FocusColumnZero()
{
    const QModelIndex current = currentIndex();
    if (current.isValid())
        selectionModel()->setCurrentIndex(model()->index(current.row(), 0), QItemSelectionModel::NoUpdate);
}

void TTreeList::PasteData()
{
    CommitEditing();
    const int startRow = CurrentRow();
    const QModelIndex focused = currentIndex();
    if (startRow < 0 || !focused.isValid())
        return;
    const int startColumn = focused.column() == 0 ? 1 : focused.column();
    const QList<QStringList> lines = ClipboardCells();
    for (int i = 0; i < lines.size() && startRow + i < RowCount(); ++i) {
        int c = startColumn;
        for (const QString& text : lines[i]) {
            while (c < columnCount() && isColumnHidden(c))
                ++c;
            if (c >= columnCount())
                break;
            SetCell(startRow + i, c++, text);
        }
    }
    FocusColumnZero();
}

void TTreeList::InsertRow()
{
    CommitEditing();
    const int row = CurrentRow();
    if (row < 0)
        return;
    for (int r = RowCount() - 1; r > row; --r)
        CopyRow(*this, r - 1, r);
    EmptyRow(*this, row);
    FocusColumnZero();
}

void TTreeList::MoveRowUp()
{
    CommitEditing();
    const int row = CurrentRow();
    if (row < 0)
        return;
    if (row > 0)
        SwapRows(*this, row, row - 1);
    FocusColumnZero();
}

void TTreeList::MoveRowDown()
{
    CommitEditing();
    const int row = CurrentRow();
    if (row < 0)
        return;
    if (row < RowCount() - 1)
        SwapRows(*this, row, row + 1);
    FocusColumnZero();
}

void TTreeList::DeleteRow()
{
    CommitEditing();
    const int row = CurrentRow();
    if (row < 0)
        return;
    for (int r = row; r < RowCount() - 1; ++r)
        CopyRow(*this, r + 1, r);
    EmptyRow(*this, RowCount() - 1);
    FocusColumnZero();
}

void TTreeList::ClearRows()
{
    CommitEditing();
    for (int r = 0; r < RowCount(); ++r)
        EmptyRow(*this, r);
    FocusColumnZero();
}

void TTreeList::ExportList()
{
    CommitEditing();
    const QString path = AskExportFile(this, u"xls"_s, u"逗号文件 (*.xls)"_s);
    if (path.isEmpty())
        return;
    QString error;
    if (!ExportTo(path, &error))
        ShowError(error);
}

QList<int> TTreeList::VisibleColumns() const
{
    QList<int> columns;
    for (int v = 0; v < header()->count(); ++v) {
        const int c = header()->logicalIndex(v);
        if (!isColumnHidden(c))
            columns.append(c);
    }
    return columns;
}

QString TTreeList::ExportText() const
{
    const QList<int> columns = VisibleColumns();
    const QString crlf = u"\r\n"_s;
    QStringList cells;
    for (int c : columns)
        cells.append(headerItem()->text(c));
    QString text = cells.join(u'\t') % crlf % crlf;
    for (int r = 0; r < RowCount(); ++r) {
        cells.clear();
        for (int c : columns)
            cells.append(DisplayText(r, c));
        text += cells.join(u'\t') % crlf;
    }
    return text;
}

bool TTreeList::ExportTo(const QString& path, QString* error) const
{
    return WriteGbkFile(path, ExportText(), error);
}

void TTreeList::CommitEditing()
{
    if (!m_editor || !m_editIndex.isValid())
        return;
    QWidget* editor = m_editor;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TTreeList::EditorOpening(QWidget* editor, const QModelIndex& index)
{
    m_editor = editor;
    m_editIndex = index;
    m_editCommitted = false;
}

void TTreeList::ToggleTick(const QModelIndex& index)
{
    const TColumnDef& column = Column(index.column());
    const bool ticked = Cell(index.row(), index.column()) == column.TickOn;
    SetCell(index.row(), index.column(), ticked ? column.TickOff : column.TickOn);
    emit CellEdited(index.row(), index.column());
}

void TTreeList::commitData(QWidget* editor)
{
    QTreeWidget::commitData(editor);
    if (editor && editor == m_editor)
        m_editCommitted = true;
}

void TTreeList::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool ours = editor && editor == m_editor;
    const QPersistentModelIndex index = ours ? m_editIndex : QPersistentModelIndex();
    const bool committed = ours && m_editCommitted;
    if (ours) {
        m_editor = nullptr;
        m_editCommitted = false;
    }
    // Enter and Tab move on without opening the next cell's editor: typing
    // there starts it.
    const bool forward = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::SubmitModelCache;
    const bool back = hint == QAbstractItemDelegate::EditPreviousItem;
    QTreeWidget::closeEditor(editor, forward || back ? QAbstractItemDelegate::NoHint : hint);
    if ((forward || back) && index.isValid()) {
        const QModelIndex next = NextEditable(index, forward);
        if (next.isValid())
            setCurrentIndex(next);
    }
    if (committed && index.isValid())
        emit CellEdited(index.row(), index.column());
}

bool TTreeList::IsEditable(int column) const
{
    return !Column(column).ReadOnly && !isColumnHidden(column);
}

QModelIndex TTreeList::NextEditable(const QModelIndex& from, bool forward) const
{
    const QList<int> columns = VisibleColumns();
    int row = from.row();
    int v = int(columns.indexOf(from.column()));
    for (;;) {
        v += forward ? 1 : -1;
        if (v < 0 || v >= columns.size()) {
            row += forward ? 1 : -1;
            if (row < 0 || row >= RowCount())
                return {};
            v = forward ? 0 : int(columns.size()) - 1;
        }
        if (v >= 0 && v < columns.size() && IsEditable(columns[v]))
            return model()->index(row, columns[v]);
        if (columns.isEmpty())
            return {};
    }
}

QModelIndex TTreeList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return QTreeWidget::moveCursor(action, modifiers);
    switch (action) {
    case MoveNext:
    case MovePrevious: {
        const QModelIndex next = NextEditable(current, action == MoveNext);
        return next.isValid() ? next : current;
    }
    case MoveLeft:
    case MoveRight: {
        const QList<int> columns = VisibleColumns();
        const int v = int(columns.indexOf(current.column())) + (action == MoveRight ? 1 : -1);
        return v >= 0 && v < columns.size() ? model()->index(current.row(), columns[v]) : current;
    }
    default:
        return QTreeWidget::moveCursor(action, modifiers);
    }
}

void TTreeList::keyPressEvent(QKeyEvent* event)
{
    // Enter outside an editor moves on as it does inside one.
    if (state() != EditingState && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        const QModelIndex next = NextEditable(currentIndex(), true);
        if (next.isValid())
            setCurrentIndex(next);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
