#include "GridView.h"

#include "RowCommands.h"
#include "UnitData.h"

#include <QHeaderView>
#include <QMenu>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowHeight = 18;
constexpr int CaptionColumns = 7;

} // namespace

// Draws the row-number column as fixed cells and keeps the open editor known.
class TGridViewDelegate final : public QStyledItemDelegate {
public:
    explicit TGridViewDelegate(TGridView* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_grid->m_editor = editor;
        return editor;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    TGridView* m_grid;
};

void TGridViewDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != 0)
        return;
    // The numbers' cells are disabled so that they never become current; they
    // are drawn as fixed cells, not greyed out.
    option->state |= QStyle::State_Enabled;
    option->backgroundBrush = option->palette.button();
    option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Active, QPalette::ButtonText));
}

TGridView::TGridView(QWidget* parent) : QTableWidget(parent)
{
    setItemDelegate(new TGridViewDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);

    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { NumberRows(); });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { NumberRows(); });
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this] {
        ApplyCaption();
        NumberRows();
    });

    RowMenu = CreateRowMenu(this, {[this] { PasteData(); }, [this] { InsertRow(); }, [this] { MoveRowUp(); },
                                   [this] { MoveRowDown(); }, [this] { DeleteRow(); }, [this] { ClearRows(); },
                                   [this] { ExportList(); }});
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (!RowMenu->isEmpty())
            RowMenu->popup(viewport()->mapToGlobal(pos));
    });
}

void TGridView::SetCaption(const QString& caption)
{
    m_caption = caption;
    ApplyCaption();
}

void TGridView::ApplyCaption()
{
    const QStringList parts = m_caption.split(u'|');
    for (int c = 0; c < columnCount(); ++c) {
        // Every column gets a header item: without one the header shows numbers.
        const QString text = c < CaptionColumns && c < parts.size() ? parts[c] : QString();
        if (QTableWidgetItem* item = horizontalHeaderItem(c))
            item->setText(text);
        else
            setHorizontalHeaderItem(c, new QTableWidgetItem(text));
    }
}

void TGridView::NumberRows()
{
    if (columnCount() == 0)
        return;
    for (int r = 0; r < rowCount(); ++r) {
        QTableWidgetItem* number = item(r, 0);
        if (!number) {
            number = new QTableWidgetItem;
            number->setFlags(Qt::NoItemFlags);
            setItem(r, 0, number);
        }
        number->setText(QString::number(r + 1));
    }
}

QString TGridView::Cell(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void TGridView::SetCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 1 || column >= columnCount())
        return;
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
    else if (!text.isEmpty())
        setItem(row, column, new QTableWidgetItem(text));
}

void TGridView::PasteData()
{
    CommitEditing();
    const int row = currentRow();
    const int column = currentColumn();
    if (row < 0 || column < 0)
        return;
    const QList<QStringList> lines = ClipboardCells();
    for (int i = 0; i < lines.size() && row + i < rowCount(); ++i) {
        for (int j = 0; j < lines[i].size() && column + j < columnCount(); ++j)
            SetCell(row + i, column + j, lines[i][j]);
    }
}

void TGridView::InsertRow()
{
    CommitEditing();
    const int row = currentRow();
    if (row < 0)
        return;
    for (int r = rowCount() - 1; r > row; --r)
        CopyRow(*this, r - 1, r);
    EmptyRow(*this, row);
}

void TGridView::MoveRowUp()
{
    CommitEditing();
    const int row = currentRow();
    if (row <= 0)
        return;
    SwapRows(*this, row, row - 1);
    setCurrentCell(row - 1, currentColumn());
}

void TGridView::MoveRowDown()
{
    CommitEditing();
    const int row = currentRow();
    if (row < 0 || row >= rowCount() - 1)
        return;
    SwapRows(*this, row, row + 1);
    setCurrentCell(row + 1, currentColumn());
}

void TGridView::DeleteRow()
{
    CommitEditing();
    const int row = currentRow();
    if (row < 0)
        return;
    for (int r = row; r < rowCount() - 1; ++r)
        CopyRow(*this, r + 1, r);
    EmptyRow(*this, rowCount() - 1);
}

void TGridView::ClearRows()
{
    CommitEditing();
    for (int r = 0; r < rowCount(); ++r)
        EmptyRow(*this, r);
}

void TGridView::ExportList()
{
    CommitEditing();
    const QString path = AskExportFile(this, u"csv"_s, u"逗号文件 (*.csv)"_s);
    if (path.isEmpty())
        return;
    QString error;
    if (!ExportTo(path, &error))
        ShowError(error);
}

bool TGridView::ExportTo(const QString& path, QString* error) const
{
    return SaveGridCSV(this, columnCount() - 1, path, error);
}

void TGridView::CommitEditing()
{
    if (!m_editor || state() != EditingState)
        return;
    QWidget* editor = m_editor;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool SaveGridCSV(const QTableWidget* grid, int columns, const QString& fileName, QString* error)
{
    QString text;
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 1; c <= columns; ++c) {
            const QTableWidgetItem* cell = grid->item(r, c);
            const QString value = cell ? cell->text() : QString();
            text += (value.contains(u',') ? u'"' % value % u'"' : value) % u',';
        }
        text += u"\r\n"_s;
    }
    return WriteGbkFile(fileName, text, error);
}
