#pragma once

// The editable list of the main window: a flat list of a fixed number of
// numbered rows whose cells hold texts, with typed columns and a menu of row
// commands that move texts between the rows without adding or removing any.

#include "CellTable.h"

#include <QAbstractItemDelegate>
#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

class QMenu;

enum class TColumnKind { Text, Choice, Tick, Currency };

struct TColumnDef {
    QString Caption = {};
    TColumnKind Kind = TColumnKind::Text;
    int Width = 80;
    Qt::Alignment Align = Qt::AlignLeft | Qt::AlignVCenter;
    bool ReadOnly = false; // a read-only column 0 (the row numbers) is drawn grey
    bool Visible = true;
    QStringList Choices = {};             // Choice: the drop-down items
    QString TickOn = QStringLiteral("0"); // Tick: the text of a ticked cell
    QString TickOff = QStringLiteral("1");
};

class TTreeList final : public QTreeWidget, public TCellTable {
    Q_OBJECT
public:
    explicit TTreeList(QWidget* parent = nullptr);

    void SetColumns(const QList<TColumnDef>& columns);
    const TColumnDef& Column(int column) const;
    void SetColumnCaption(int column, const QString& caption);
    void SetColumnVisible(int column, bool visible);
    bool IsColumnVisible(int column) const;

    // Removes all rows, then adds n rows numbered 1..n in column 0 with the
    // other cells empty.
    void SetRowCount(int n);
    int RowCount() const override;
    // The stored text: a tick cell holds TickOn, TickOff or nothing; a
    // currency cell the number as typed.
    QString Cell(int row, int column) const override;
    void SetCell(int row, int column, const QString& text) override;
    // The text shown: a currency cell holding a number as "12.50/㎡".
    QString DisplayText(int row, int column) const;

    QMenu* RowMenu; // the owner may add, remove or re-image entries

    // The first selected row; -1 when none is selected.
    int CurrentRow() const;

    // The row commands act on the current row and columns 1 to the last,
    // hidden ones included, and end with column 0 focused.
    void PasteData();
    void InsertRow();
    void MoveRowUp();
    void MoveRowDown();
    void DeleteRow();
    void ClearRows();
    void ExportList();
    // The visible captions separated by tabs, an empty line, then one line
    // per row of the texts shown; CRLF after each line.
    bool ExportTo(const QString& path, QString* error = nullptr) const;
    QString ExportText() const;

    // Ends an open cell editor, storing its text.
    void CommitEditing();
    bool IsEditing() const { return state() == EditingState; }

signals:
    // Just before an editor opens on the cell: the owner may still change
    // cells of the row, the editor shows the new text.
    void EditingStarted(int row, int column);
    // After the user has changed a cell: an editor's text was stored or a
    // tick toggled.
    void CellEdited(int row, int column);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;

protected slots:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class TTreeListDelegate;

    bool IsEditable(int column) const;
    QList<int> VisibleColumns() const; // in display order
    QModelIndex NextEditable(const QModelIndex& from, bool forward) const;
    void EditorOpening(QWidget* editor, const QModelIndex& index);
    void ToggleTick(const QModelIndex& index);
    void FocusColumnZero();

    QList<TColumnDef> m_columns;
    QPointer<QWidget> m_editor;
    QPersistentModelIndex m_editIndex;
    bool m_editCommitted = false;
};
