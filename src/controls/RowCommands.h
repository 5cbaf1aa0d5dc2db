#pragma once

// What the two list controls share: the row-command menu, the clipboard text
// cut into cells, and the save dialog and file writing of their exports.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QMenu;
class QWidget;

struct TRowCommands {
    std::function<void()> PasteData;
    std::function<void()> InsertRow;
    std::function<void()> MoveRowUp;
    std::function<void()> MoveRowDown;
    std::function<void()> DeleteRow;
    std::function<void()> ClearRows;
    std::function<void()> ExportList;
};

// Moving texts between rows over the data columns 1 to the last, for any list
// with Cell, SetCell and columnCount: rows are never added or removed.
template <class List> void CopyRow(List& list, int from, int to)
{
    for (int c = 1; c < list.columnCount(); ++c)
        list.SetCell(to, c, list.Cell(from, c));
}

template <class List> void EmptyRow(List& list, int row)
{
    for (int c = 1; c < list.columnCount(); ++c)
        list.SetCell(row, c, QString());
}

template <class List> void SwapRows(List& list, int a, int b)
{
    for (int c = 1; c < list.columnCount(); ++c) {
        const QString text = list.Cell(a, c);
        list.SetCell(a, c, list.Cell(b, c));
        list.SetCell(b, c, text);
    }
}

// The menu "粘贴数据", -, "插入一行", "上移一行", "下移一行", -, "删除该行",
// "删除全部", -, "导出Excel"; each action is named by its text.
QMenu* CreateRowMenu(QWidget* owner, const TRowCommands& commands);

// Lines end at each carriage return, which takes the character after it along
// (the line feed of spreadsheet text); a non-empty rest is the last line.
// Cells are separated by tabs, empty cells kept.
QList<QStringList> ClipboardCells(const QString& text);
// The clipboard's text as ClipboardCells; no lines when it holds no text.
QList<QStringList> ClipboardCells();

// The save dialog of an export: the chosen path, empty when cancelled.
QString AskExportFile(QWidget* parent, const QString& defaultSuffix, const QString& filter);

// Writes text in the program's file encoding; an existing file is replaced
// only when the whole text was written.
bool WriteGbkFile(const QString& path, const QString& text, QString* error);
