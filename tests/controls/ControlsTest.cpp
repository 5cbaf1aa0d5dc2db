// The list and grid controls, driven as the user works with them: clicks,
// typing, the clipboard and the row menu.

#include "GridView.h"
#include "RecordingDialogs.h"
#include "RowCommands.h"
#include "TreeList.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The sheet list's columns by position: number, priority (hidden), name,
// remark (hidden), length, width, price, quantity, stock id (hidden).
enum SheetColumn { No, Prio, Name, Demo, Length, Width, Price, Count, DbId, SheetColumns };

QList<TColumnDef> SheetColumnDefs()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    return {
        {.Caption = u"序号"_s, .Width = 40, .Align = Qt::AlignCenter, .ReadOnly = true},
        {.Caption = u"优先"_s, .Kind = TColumnKind::Choice, .Visible = false, .Choices = {u"普通"_s, u"优先"_s}},
        {.Caption = u"名称"_s},
        {.Caption = u"备注"_s, .Visible = false},
        {.Caption = u"长"_s, .Align = right},
        {.Caption = u"宽"_s, .Align = right},
        {.Caption = u"单价"_s, .Kind = TColumnKind::Currency, .Align = right},
        {.Caption = u"可用量"_s, .Align = right},
        {.Caption = QString(), .Visible = false},
    };
}

// The part list's columns: number, name, remark (hidden), length, width,
// quantity, grain tick.
enum PartColumn { PartName = 1, PartGrain = 6 };

QList<TColumnDef> PartColumnDefs()
{
    return {
        {.Caption = u"序号"_s, .Width = 40, .Align = Qt::AlignCenter, .ReadOnly = true},
        {.Caption = u"名称"_s},
        {.Caption = u"备注"_s, .Visible = false},
        {.Caption = u"长"_s},
        {.Caption = u"宽"_s},
        {.Caption = u"数量"_s},
        {.Caption = u"有纹路"_s, .Kind = TColumnKind::Tick, .TickOn = u"0"_s, .TickOff = u"1"_s},
    };
}

std::unique_ptr<TTreeList> ShownList(const QList<TColumnDef>& columns, int rows)
{
    auto list = std::make_unique<TTreeList>();
    list->SetColumns(columns);
    list->SetRowCount(rows);
    list->resize(900, 400);
    list->show();
    if (!QTest::qWaitForWindowActive(list.get()))
        return nullptr;
    return list;
}

// A distinct text in every cell from column 1 on, so that moved rows can be told apart.
QString Original(int row, int column)
{
    return u"r%1c%2"_s.arg(row).arg(column);
}

void FillAll(TCellTable& table, int columns)
{
    for (int r = 0; r < table.RowCount(); ++r)
        for (int c = 1; c < columns; ++c)
            table.SetCell(r, c, Original(r, c));
}

template <typename View> void ClickCell(View& view, int row, int column, Qt::KeyboardModifiers modifiers = {})
{
    const QModelIndex index = view.model()->index(row, column);
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.visualRect(index).center());
}

QAction* Entry(const QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The first key goes to the list (it opens the editor), the rest to whatever
// has the focus then, as a keyboard would send them.
void Type(QWidget* list, const QString& text)
{
    QTest::keyClick(list, text.at(0).toLatin1());
    QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
}

// Enter ends an editor through a queued call: let it run.
void PressKey(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
    QCoreApplication::processEvents();
}

QByteArray Gbk(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each row given as the original row it should hold now; -1 for an empty row.
QList<int> RowsFromText(const QString& text)
{
    QList<int> rows;
    for (const QString& part : text.split(u' ', Qt::SkipEmptyParts))
        rows.append(part == u"-"_s ? -1 : part.toInt() - 1);
    return rows;
}

template <typename Table> void CompareRows(const Table& table, int columns, const QList<int>& expected)
{
    for (int r = 0; r < expected.size(); ++r)
        for (int c = 1; c < columns; ++c)
            QCOMPARE(table.Cell(r, c), expected[r] < 0 ? QString() : Original(expected[r], c));
}

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void clipboardCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QStringList>>("cells");
        QTest::newRow("spreadsheet rows")
            << u"a\t1\r\nb\t2\r\n"_s << QList<QStringList>{{u"a"_s, u"1"_s}, {u"b"_s, u"2"_s}};
        QTest::newRow("last line without break") << u"a\r\nb"_s << QList<QStringList>{{u"a"_s}, {u"b"_s}};
        QTest::newRow("line feeds alone are no break") << u"a\nb\tc"_s << QList<QStringList>{{u"a\nb"_s, u"c"_s}};
        QTest::newRow("the character after CR is dropped") << u"a\rxb"_s << QList<QStringList>{{u"a"_s}, {u"b"_s}};
        QTest::newRow("two tabs give an empty cell") << u"a\t\tb"_s << QList<QStringList>{{u"a"_s, u""_s, u"b"_s}};
        QTest::newRow("empty line") << u"\r\nb"_s << QList<QStringList>{{u""_s}, {u"b"_s}};
        QTest::newRow("no text") << u""_s << QList<QStringList>{};
    }
    void clipboardCells()
    {
        QFETCH(QString, text);
        QFETCH(QList<QStringList>, cells);
        QCOMPARE(ClipboardCells(text), cells);
    }

    void setRowCount_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("five") << 5;
        QTest::newRow("none") << 0;
        QTest::newRow("negative") << -2;
    }
    void setRowCount()
    {
        QFETCH(int, rows);
        TTreeList list;
        list.SetColumns(SheetColumnDefs());
        list.SetRowCount(3);
        FillAll(list, SheetColumns);
        list.SetRowCount(rows);
        QCOMPARE(list.RowCount(), qMax(rows, 0));
        for (int r = 0; r < list.RowCount(); ++r) {
            QCOMPARE(list.DisplayText(r, No), QString::number(r + 1));
            for (int c = 1; c < SheetColumns; ++c)
                QCOMPARE(list.Cell(r, c), QString());
        }
    }

    void rowMenuEntries()
    {
        TTreeList list;
        TGridView grid;
        const QStringList expected = {u"粘贴数据"_s, u""_s,         u"插入一行"_s, u"上移一行"_s, u"下移一行"_s,
                                      u""_s,         u"删除该行"_s, u"删除全部"_s, u""_s,         u"导出Excel"_s};
        for (const QMenu* menu : {list.RowMenu, grid.RowMenu}) {
            QStringList shown;
            for (const QAction* action : menu->actions()) {
                QCOMPARE(action->isSeparator(), action->text().isEmpty());
                QCOMPARE(action->objectName(), action->text());
                shown.append(action->text());
            }
            QCOMPARE(shown, expected);
        }
    }

    // The clipboard's lines and cells land from the focused cell on, in the
    // visible columns only; what does not fit is dropped.
    void paste_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("changed"); // "row,column,text"
        QTest::newRow("spreadsheet rows into the name column")
            << 2 << int(Name) << u"Float Glass 5\t2440\t1830\r\nClear Glass 8\t3300\t2140\r\n"_s
            << QStringList{u"2,2,Float Glass 5"_s, u"2,4,2440"_s, u"2,5,1830"_s,
                           u"3,2,Clear Glass 8"_s, u"3,4,3300"_s, u"3,5,2140"_s};
        QTest::newRow("from the number column into the first visible data column")
            << 0 << int(No) << u"A\t1"_s << QStringList{u"0,2,A"_s, u"0,4,1"_s};
        QTest::newRow("ten lines into the last three rows")
            << 7 << int(Length) << u"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n"_s
            << QStringList{u"7,4,1"_s, u"8,4,2"_s, u"9,4,3"_s};
        QTest::newRow("surplus cells past the last column")
            << 1 << int(Price) << u"9.5\t7\t8\t9"_s << QStringList{u"1,6,9.5"_s, u"1,7,7"_s};
        QTest::newRow("empty cells empty the cell")
            << 4 << int(Name) << u"B\t\t600"_s << QStringList{u"4,2,B"_s, u"4,4,"_s, u"4,5,600"_s};
        QTest::newRow("line feeds only: one line")
            << 5 << int(Name) << u"a\nb\tc"_s << QStringList{u"5,2,a\nb"_s, u"5,4,c"_s};
    }
    void paste()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, changed);
        const auto list = ShownList(SheetColumnDefs(), 10);
        QVERIFY(list);
        FillAll(*list, SheetColumns);
        QSignalSpy edited(list.get(), &TTreeList::CellEdited);
        ClickCell(*list, row, column);
        QApplication::clipboard()->setText(clipboard);
        QAction* paste = Entry(list->RowMenu, u"粘贴数据"_s);
        QVERIFY(paste);
        paste->trigger();

        QHash<QPair<int, int>, QString> expected;
        for (const QString& change : changed) {
            const QStringList parts = change.split(u',');
            expected.insert({parts[0].toInt(), parts[1].toInt()}, parts.mid(2).join(u','));
        }
        for (int r = 0; r < list->RowCount(); ++r) {
            QCOMPARE(list->Cell(r, No), QString::number(r + 1));
            for (int c = 1; c < SheetColumns; ++c)
                QCOMPARE(list->Cell(r, c), expected.value({r, c}, Original(r, c)));
        }
        QCOMPARE(list->currentIndex().row(), row);
        QCOMPARE(list->currentIndex().column(), int(No));
        QCOMPARE(edited.size(), 0);
    }

    void pasteWithoutSelection()
    {
        TTreeList list;
        list.SetColumns(SheetColumnDefs());
        list.SetRowCount(3);
        QApplication::clipboard()->setText(u"x\ty"_s);
        list.PasteData();
        for (int r = 0; r < 3; ++r)
            for (int c = 1; c < SheetColumns; ++c)
                QCOMPARE(list.Cell(r, c), QString());
    }

    // Row commands on five filled rows; the hidden id column moves with its row.
    void rowCommands_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("click");
        QTest::addColumn<int>("shiftClick"); // -1: a single row selected
        QTest::addColumn<QString>("rows");   // the original row each row holds afterwards
        QTest::newRow("delete the first") << u"删除该行"_s << 0 << -1 << u"2 3 4 5 -"_s;
        QTest::newRow("delete the last") << u"删除该行"_s << 4 << -1 << u"1 2 3 4 -"_s;
        QTest::newRow("delete the first of a selection") << u"删除该行"_s << 1 << 3 << u"1 3 4 5 -"_s;
        QTest::newRow("move the first of a selection") << u"下移一行"_s << 0 << 2 << u"2 1 3 4 5"_s;
        QTest::newRow("insert into a full list") << u"插入一行"_s << 1 << -1 << u"1 - 2 3 4"_s;
        QTest::newRow("insert at the last row") << u"插入一行"_s << 4 << -1 << u"1 2 3 4 -"_s;
        QTest::newRow("up from the first") << u"上移一行"_s << 0 << -1 << u"1 2 3 4 5"_s;
        QTest::newRow("up") << u"上移一行"_s << 2 << -1 << u"1 3 2 4 5"_s;
        QTest::newRow("down from the last") << u"下移一行"_s << 4 << -1 << u"1 2 3 4 5"_s;
        QTest::newRow("down") << u"下移一行"_s << 1 << -1 << u"1 3 2 4 5"_s;
        QTest::newRow("clear") << u"删除全部"_s << 2 << -1 << u"- - - - -"_s;
    }
    void rowCommands()
    {
        QFETCH(QString, entry);
        QFETCH(int, click);
        QFETCH(int, shiftClick);
        QFETCH(QString, rows);
        const auto list = ShownList(SheetColumnDefs(), 5);
        QVERIFY(list);
        FillAll(*list, SheetColumns);
        ClickCell(*list, click, Name);
        if (shiftClick >= 0)
            ClickCell(*list, shiftClick, Width, Qt::ShiftModifier);
        const QModelIndexList selected = list->selectionModel()->selectedIndexes();
        const int current = list->currentIndex().row();
        QAction* action = Entry(list->RowMenu, entry);
        QVERIFY(action);
        action->trigger();

        CompareRows(*list, SheetColumns, RowsFromText(rows));
        for (int r = 0; r < 5; ++r)
            QCOMPARE(list->Cell(r, No), QString::number(r + 1));
        QCOMPARE(list->selectionModel()->selectedIndexes(), selected);
        QCOMPARE(list->currentIndex().row(), current);
        QCOMPARE(list->currentIndex().column(), int(No));
    }

    void commandsWithoutSelection()
    {
        TTreeList list;
        list.SetColumns(SheetColumnDefs());
        list.SetRowCount(4);
        FillAll(list, SheetColumns);
        for (const QString& entry : {u"插入一行"_s, u"上移一行"_s, u"下移一行"_s, u"删除该行"_s}) {
            Entry(list.RowMenu, entry)->trigger();
            CompareRows(list, SheetColumns, RowsFromText(u"1 2 3 4"_s));
        }
    }

    // Typing into a cell and leaving it with a key: the text is stored, the
    // owner hears of it, and the next editable visible cell becomes current.
    void typing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("nextRow");
        QTest::addColumn<int>("nextColumn");
        QTest::newRow("enter over the hidden remark")
            << 0 << int(Name) << u"Float"_s << int(Qt::Key_Return) << true << 0 << int(Length);
        QTest::newRow("tab") << 1 << int(Length) << u"2440"_s << int(Qt::Key_Tab) << true << 1 << int(Width);
        QTest::newRow("enter at the last column")
            << 1 << int(Count) << u"3"_s << int(Qt::Key_Enter) << true << 2 << int(Name);
        QTest::newRow("escape") << 2 << int(Width) << u"99"_s << int(Qt::Key_Escape) << false << 2 << int(Width);
    }
    void typing()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(bool, stored);
        QFETCH(int, nextRow);
        QFETCH(int, nextColumn);
        const auto list = ShownList(SheetColumnDefs(), 5);
        QVERIFY(list);
        list->SetCell(row, column, u"old"_s);
        QSignalSpy edited(list.get(), &TTreeList::CellEdited);
        ClickCell(*list, row, column);
        Type(list.get(), typed);
        QVERIFY(list->IsEditing());
        PressKey(Qt::Key(key));

        QVERIFY(!list->IsEditing());
        QCOMPARE(list->Cell(row, column), stored ? typed : u"old"_s);
        QCOMPARE(edited.size(), stored ? 1 : 0);
        if (stored)
            QCOMPARE(edited.first(), (QVariantList{row, column}));
        QCOMPARE(list->currentIndex(), list->model()->index(nextRow, nextColumn));
        // The next cell is current but not yet being edited: typing starts it.
        Type(list.get(), u"7"_s);
        PressKey(Qt::Key_Escape);
    }

    // Without an editor the keys move between the visible cells.
    void keysWithoutEditor()
    {
        const auto list = ShownList(SheetColumnDefs(), 3);
        QVERIFY(list);
        ClickCell(*list, 0, Width);
        const QList<QPair<Qt::Key, int>> steps = {
            {Qt::Key_Return, Price}, {Qt::Key_Left, Width}, {Qt::Key_Left, Length},
            {Qt::Key_Left, Name},    {Qt::Key_Left, No},    {Qt::Key_Right, Name},
            {Qt::Key_Right, Length}, {Qt::Key_Tab, Width},  {Qt::Key_Backtab, Length},
        };
        for (const auto& [key, column] : steps) {
            QTest::keyClick(list.get(), key);
            QCOMPARE(list->currentIndex(), list->model()->index(0, column));
            QVERIFY(!list->IsEditing());
        }
        QTest::keyClick(list.get(), Qt::Key_Down);
        QCOMPARE(list->currentIndex(), list->model()->index(1, int(Length)));
    }

    void commitEditing()
    {
        const auto list = ShownList(SheetColumnDefs(), 3);
        QVERIFY(list);
        QSignalSpy edited(list.get(), &TTreeList::CellEdited);
        ClickCell(*list, 1, Length);
        Type(list.get(), u"1200"_s);
        QCOMPARE(list->Cell(1, Length), QString());
        list->CommitEditing();
        QCOMPARE(list->Cell(1, Length), u"1200"_s);
        QVERIFY(!list->IsEditing());
        QCOMPARE(edited.size(), 1);
        list->CommitEditing();
        QCOMPARE(edited.size(), 1);

        // A row command takes the text still being typed along.
        ClickCell(*list, 0, Name);
        Type(list.get(), u"Float"_s);
        Entry(list->RowMenu, u"下移一行"_s)->trigger();
        QVERIFY(!list->IsEditing());
        QCOMPARE(list->Cell(0, Name), QString());
        QCOMPARE(list->Cell(1, Name), u"Float"_s);
        QCOMPARE(list->Cell(1, Length), QString());
        QCOMPARE(list->Cell(0, Length), u"1200"_s);
        QCOMPARE(edited.size(), 2);
    }

    // The owner fills a cell of the row before the editor opens, and the
    // editor shows what it filled.
    void editingStarted_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("opens");
        QTest::newRow("F2 on the quantity") << int(Count) << u"F2"_s << true;
        QTest::newRow("double click on the name") << int(Name) << u"double click"_s << true;
        QTest::newRow("typing on the length") << int(Length) << u"typing"_s << true;
        QTest::newRow("F2 on the row number") << int(No) << u"F2"_s << false;
    }
    void editingStarted()
    {
        QFETCH(int, column);
        QFETCH(QString, how);
        QFETCH(bool, opens);
        const auto list = ShownList(SheetColumnDefs(), 4);
        QVERIFY(list);
        const int row = 2;
        list->SetCell(row, Length, u"2440"_s);
        QList<QPair<int, int>> started;
        bool editorAlreadyOpen = false;
        connect(list.get(), &TTreeList::EditingStarted, list.get(), [&](int r, int c) {
            started.append({r, c});
            editorAlreadyOpen = list->IsEditing();
            if (list->Cell(r, Count).isEmpty())
                list->SetCell(r, Count, u"999999"_s);
        });
        ClickCell(*list, row, column);
        const QPoint centre = list->visualRect(list->model()->index(row, column)).center();
        if (how == u"F2"_s)
            QTest::keyClick(list.get(), Qt::Key_F2);
        else if (how == u"double click"_s)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        else
            QTest::keyClick(list.get(), Qt::Key_5);

        if (!opens) {
            QVERIFY(started.isEmpty());
            QVERIFY(!list->IsEditing());
            return;
        }
        QCOMPARE(started, (QList<QPair<int, int>>{{row, column}}));
        QVERIFY(!editorAlreadyOpen);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        if (column == Count)
            QCOMPARE(editor->text(), u"999999"_s);
        PressKey(Qt::Key_Return);
        QCOMPARE(list->Cell(row, Count), u"999999"_s);
        QCOMPARE(list->Cell(row, Length), how == u"typing"_s ? u"5"_s : u"2440"_s);
    }

    void choiceColumn()
    {
        const auto list = ShownList(SheetColumnDefs(), 3);
        QVERIFY(list);
        list->SetColumnVisible(Prio, true);
        QVERIFY(list->IsColumnVisible(Prio));
        list->SetCell(0, Prio, u"普通"_s);
        QSignalSpy edited(list.get(), &TTreeList::CellEdited);
        ClickCell(*list, 0, Prio);
        QTest::keyClick(list.get(), Qt::Key_F2);
        auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(combo);
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->currentText(), u"普通"_s);
        QTest::keyClick(combo, Qt::Key_Down);
        PressKey(Qt::Key_Return);
        QCOMPARE(list->Cell(0, Prio), u"优先"_s);
        QCOMPARE(edited.size(), 1);
        QCOMPARE(list->currentIndex(), list->model()->index(0, int(Name)));
    }

    void tickColumn()
    {
        const auto list = ShownList(PartColumnDefs(), 3);
        QVERIFY(list);
        QSignalSpy edited(list.get(), &TTreeList::CellEdited);
        const QStringList afterEachClick = {u"0"_s, u"1"_s, u"0"_s};
        for (const QString& expected : afterEachClick) {
            ClickCell(*list, 1, PartGrain);
            QCOMPARE(list->Cell(1, PartGrain), expected);
            QCOMPARE(list->DisplayText(1, PartGrain), expected);
        }
        QCOMPARE(edited.size(), 3);
        QCOMPARE(edited.last(), (QVariantList{1, int(PartGrain)}));
        QVERIFY(!list->IsEditing());

        // A click beside the box only selects; the space bar toggles then.
        const QRect cell = list->visualRect(list->model()->index(2, PartGrain));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(2, cell.height() / 2));
        QCOMPARE(list->Cell(2, PartGrain), QString());
        QCOMPARE(list->currentIndex(), list->model()->index(2, PartGrain));
        QTest::keyClick(list.get(), Qt::Key_Space);
        QCOMPARE(list->Cell(2, PartGrain), u"0"_s);
        QCOMPARE(edited.size(), 4);
        QTest::keyClick(list.get(), Qt::Key_A);
        QVERIFY(!list->IsEditing());
        QCOMPARE(list->Cell(2, PartGrain), u"0"_s);
    }

    void currencyDisplay_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimals added") << u"35.5"_s << u"35.50/㎡"_s;
        QTest::newRow("whole number") << u"12"_s << u"12.00/㎡"_s;
        QTest::newRow("rounded half away from zero") << u"0.125"_s << u"0.13/㎡"_s;
        QTest::newRow("negative") << u"-2.5"_s << u"-2.50/㎡"_s;
        QTest::newRow("blanks around") << u" 8 "_s << u"8.00/㎡"_s;
        QTest::newRow("empty") << u""_s << u""_s;
        QTest::newRow("not a number") << u"12a"_s << u"12a"_s;
    }
    void currencyDisplay()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        const auto list = ShownList(SheetColumnDefs(), 2);
        QVERIFY(list);
        ClickCell(*list, 0, Price);
        Type(list.get(), stored.isEmpty() ? u"x"_s : stored);
        if (stored.isEmpty())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        PressKey(Qt::Key_Return);
        QCOMPARE(list->Cell(0, Price), stored);
        QCOMPARE(list->DisplayText(0, Price), shown);
        QCOMPARE(list->DisplayText(0, Length), QString());
        list->SetCell(0, Length, stored);
        QCOMPARE(list->DisplayText(0, Length), stored);
    }

    // The export holds the visible columns in the order shown.
    void exportText_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected");
        const QString rows = u"1\t白玻\t2440\t1830\t35.50/㎡\t999999\r\n2\t\t\t\t\t\r\n"_s;
        QTest::newRow("as defined") << u""_s << u"序号\t名称\t长\t宽\t单价\t可用量\r\n\r\n"_s + rows;
        QTest::newRow("remark shown") << u"show remark"_s
                                      << u"序号\t名称\t备注\t长\t宽\t单价\t可用量\r\n\r\n"
                                         u"1\t白玻\t5mm\t2440\t1830\t35.50/㎡\t999999\r\n2\t\t\t\t\t\t\r\n"_s;
        QTest::newRow("width moved before length")
            << u"move width"_s
            << u"序号\t名称\t宽\t长\t单价\t可用量\r\n\r\n1\t白玻\t1830\t2440\t35.50/㎡\t999999\r\n2\t\t\t\t\t\r\n"_s;
        QTest::newRow("renamed") << u"rename"_s << u"序号\t玻璃\t长\t宽\t单价\t可用量\r\n\r\n"_s + rows;
    }
    void exportText()
    {
        QFETCH(QString, change);
        QFETCH(QString, expected);
        TTreeList list;
        list.SetColumns(SheetColumnDefs());
        list.SetRowCount(2);
        const QStringList row = {u"优先"_s, u"白玻"_s, u"5mm"_s, u"2440"_s, u"1830"_s, u"35.5"_s, u"999999"_s, u"17"_s};
        for (int c = 1; c < SheetColumns; ++c)
            list.SetCell(0, c, row[c - 1]);
        if (change == u"show remark"_s)
            list.SetColumnVisible(Demo, true);
        else if (change == u"move width"_s)
            list.header()->moveSection(list.header()->visualIndex(Width), list.header()->visualIndex(Length));
        else if (change == u"rename"_s)
            list.SetColumnCaption(Name, u"玻璃"_s);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"list.xls"_s);
        QVERIFY(list.ExportTo(path));
        const QByteArray bytes = FileBytes(path);
        QCOMPARE(bytes, Gbk(expected));
        QVERIFY(bytes.contains("\xb0\xd7\xb2\xa3")); // 白玻 in GBK
    }

    void exportEmptyList()
    {
        TTreeList list;
        list.SetColumns(SheetColumnDefs());
        QTemporaryDir dir;
        const QString path = dir.filePath(u"empty.xls"_s);
        QVERIFY(list.ExportTo(path));
        QCOMPARE(FileBytes(path), Gbk(u"序号\t名称\t长\t宽\t单价\t可用量\r\n\r\n"_s));
    }

    void exportListThroughDialog()
    {
        TRecordingDialogs dialogs;
        const auto list = ShownList(SheetColumnDefs(), 1);
        QVERIFY(list);
        list->SetCell(0, Name, u"白玻"_s);
        QTemporaryDir dir;
        dialogs.Files.push_back(dir.filePath(u"sheets.xls"_s));
        Entry(list->RowMenu, u"导出Excel"_s)->trigger();
        QCOMPARE(dialogs.Suffixes, QStringList{u"xls"_s});
        QCOMPARE(dialogs.FileDialogs, QStringList{u"逗号文件 (*.xls)"_s});
        QCOMPARE(FileBytes(dir.filePath(u"sheets.xls"_s)), Gbk(list->ExportText()));
        QVERIFY(dialogs.Errors.isEmpty());

        // Cancelled: nothing written, nothing said.
        list->ExportList();
        QCOMPARE(dialogs.FileDialogs.size(), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"sheets.xls"_s});
        QVERIFY(dialogs.Errors.isEmpty());

        // A folder that does not exist: the error box.
        dialogs.Files.push_back(dir.filePath(u"missing/sheets.xls"_s));
        list->ExportList();
        QCOMPARE(dialogs.Errors.size(), 1);
        QVERIFY(dialogs.Errors.first().contains(u"missing/sheets.xls"_s));
    }

    void gridCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("settings grid") << u"序|当前名称|修改为|是否显示"_s << 4
                                       << QStringList{u"序"_s, u"当前名称"_s, u"修改为"_s, u"是否显示"_s};
        QTest::newRow("fewer parts than columns") << u"a|b"_s << 4 << QStringList{u"a"_s, u"b"_s, u""_s, u""_s};
        QTest::newRow("only seven columns are headed")
            << u"1|2|3|4|5|6|7|8|9"_s << 9
            << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u""_s, u""_s};
        QTest::newRow("no caption") << u""_s << 3 << QStringList{u""_s, u""_s, u""_s};
    }
    void gridCaption()
    {
        QFETCH(QString, caption);
        QFETCH(int, columns);
        QFETCH(QStringList, headers);
        // Set before and after the columns exist: the settings dialog does either.
        for (const bool captionFirst : {true, false}) {
            TGridView grid;
            if (captionFirst)
                grid.setProperty("Caption", caption);
            grid.setColumnCount(columns);
            grid.setRowCount(2);
            if (!captionFirst)
                grid.SetCaption(caption);
            QCOMPARE(grid.Caption(), caption);
            QStringList shown;
            for (int c = 0; c < columns; ++c)
                shown.append(grid.model()->headerData(c, Qt::Horizontal).toString());
            QCOMPARE(shown, headers);
        }
    }

    void gridRowNumbers()
    {
        TGridView grid;
        grid.setColumnCount(4);
        grid.setRowCount(3);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setRowCount(5);
        for (int r = 0; r < 5; ++r) {
            QCOMPARE(grid.Cell(r, 0), QString::number(r + 1));
            QCOMPARE(grid.rowHeight(r), 18);
        }
        // The numbers are fixed: clicking them neither selects nor edits.
        ClickCell(grid, 1, 2);
        ClickCell(grid, 3, 0);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(3, 0)).center());
        QCOMPARE(grid.currentRow(), 1);
        QCOMPARE(grid.currentColumn(), 2);
        QCOMPARE(grid.Cell(3, 0), u"4"_s);
    }

    void gridTyping()
    {
        TGridView grid;
        grid.setColumnCount(4);
        grid.setRowCount(3);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        ClickCell(grid, 0, 2);
        QTest::keyClicks(QApplication::focusWidget(), u"abc"_s);
        PressKey(Qt::Key_Tab);
        QCOMPARE(grid.Cell(0, 2), u"abc"_s);
        QCOMPARE(grid.currentColumn(), 3);
        QTest::keyClicks(QApplication::focusWidget(), u"x"_s);
        grid.CommitEditing();
        QCOMPARE(grid.Cell(0, 3), u"x"_s);
    }

    void gridPaste_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("changed"); // "row,column,text"
        QTest::newRow("block") << 1 << 1 << u"a\tb\r\nc\td\r\n"_s
                               << QStringList{u"1,1,a"_s, u"1,2,b"_s, u"2,1,c"_s, u"2,2,d"_s};
        QTest::newRow("cells past the last column") << 0 << 2 << u"a\tb\tc"_s << QStringList{u"0,2,a"_s, u"0,3,b"_s};
        QTest::newRow("lines past the last row") << 3 << 3 << u"a\r\nb\r\nc"_s << QStringList{u"3,3,a"_s, u"4,3,b"_s};
    }
    void gridPaste()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, changed);
        TGridView grid;
        grid.setColumnCount(4);
        grid.setRowCount(5);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        for (int r = 0; r < 5; ++r)
            for (int c = 1; c < 4; ++c)
                grid.SetCell(r, c, Original(r, c));
        ClickCell(grid, row, column);
        QApplication::clipboard()->setText(clipboard);
        Entry(grid.RowMenu, u"粘贴数据"_s)->trigger();
        QHash<QPair<int, int>, QString> expected;
        for (const QString& change : changed) {
            const QStringList parts = change.split(u',');
            expected.insert({parts[0].toInt(), parts[1].toInt()}, parts[2]);
        }
        for (int r = 0; r < 5; ++r) {
            QCOMPARE(grid.Cell(r, 0), QString::number(r + 1));
            for (int c = 1; c < 4; ++c)
                QCOMPARE(grid.Cell(r, c), expected.value({r, c}, Original(r, c)));
        }
    }

    void gridRowCommands_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("up carries the current cell") << u"上移一行"_s << 2 << u"1 3 2 4"_s << 1;
        QTest::newRow("up from the first") << u"上移一行"_s << 0 << u"1 2 3 4"_s << 0;
        QTest::newRow("down carries the current cell") << u"下移一行"_s << 1 << u"1 3 2 4"_s << 2;
        QTest::newRow("down from the last") << u"下移一行"_s << 3 << u"1 2 3 4"_s << 3;
        QTest::newRow("delete") << u"删除该行"_s << 1 << u"1 3 4 -"_s << 1;
        QTest::newRow("insert") << u"插入一行"_s << 1 << u"1 - 2 3"_s << 1;
        QTest::newRow("clear") << u"删除全部"_s << 1 << u"- - - -"_s << 1;
    }
    void gridRowCommands()
    {
        QFETCH(QString, entry);
        QFETCH(int, row);
        QFETCH(QString, rows);
        QFETCH(int, currentAfter);
        TGridView grid;
        grid.setColumnCount(4);
        grid.setRowCount(4);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        for (int r = 0; r < 4; ++r)
            for (int c = 1; c < 4; ++c)
                grid.SetCell(r, c, Original(r, c));
        ClickCell(grid, row, 2);
        Entry(grid.RowMenu, entry)->trigger();
        CompareRows(grid, 4, RowsFromText(rows));
        for (int r = 0; r < 4; ++r)
            QCOMPARE(grid.Cell(r, 0), QString::number(r + 1));
        QCOMPARE(grid.currentRow(), currentAfter);
        QCOMPARE(grid.currentColumn(), 2);
    }

    void gridCommandKeepsTypedText()
    {
        TGridView grid;
        grid.setColumnCount(3);
        grid.setRowCount(3);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        ClickCell(grid, 0, 1);
        QTest::keyClicks(QApplication::focusWidget(), u"typed"_s);
        Entry(grid.RowMenu, u"下移一行"_s)->trigger();
        QCOMPARE(grid.Cell(0, 1), QString());
        QCOMPARE(grid.Cell(1, 1), u"typed"_s);
    }

    void saveGridCsv_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all data columns") << 3 << u"名称,\"1,5\",x,\r\n,,,\r\n"_s;
        QTest::newRow("first data column") << 1 << u"名称,\r\n,\r\n"_s;
    }
    void saveGridCsv()
    {
        QFETCH(int, columns);
        QFETCH(QString, expected);
        TGridView grid;
        grid.setColumnCount(4);
        grid.setRowCount(2);
        grid.SetCell(0, 1, u"名称"_s);
        grid.SetCell(0, 2, u"1,5"_s);
        grid.SetCell(0, 3, u"x"_s);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"grid.csv"_s);
        QVERIFY(SaveGridCSV(&grid, columns, path));
        QCOMPARE(FileBytes(path), Gbk(expected));
        QVERIFY(FileBytes(path).startsWith("\xc3\xfb\xb3\xc6,")); // 名称 in GBK
    }

    void gridExportThroughDialog()
    {
        TRecordingDialogs dialogs;
        TGridView grid;
        grid.setColumnCount(3);
        grid.setRowCount(2);
        grid.SetCell(1, 2, u"a,b"_s);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QTemporaryDir dir;
        dialogs.Files.push_back(dir.filePath(u"captions.csv"_s));
        Entry(grid.RowMenu, u"导出Excel"_s)->trigger();
        QCOMPARE(dialogs.Suffixes, QStringList{u"csv"_s});
        QCOMPARE(dialogs.FileDialogs, QStringList{u"逗号文件 (*.csv)"_s});
        QCOMPARE(FileBytes(dir.filePath(u"captions.csv"_s)), QByteArray(",,\r\n,\"a,b\",\r\n"));
        QVERIFY(dialogs.Errors.isEmpty());

        QString error;
        QVERIFY(!grid.ExportTo(dir.filePath(u"missing/captions.csv"_s), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
