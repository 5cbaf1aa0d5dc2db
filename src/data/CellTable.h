#pragma once

// The cells of a list as texts: what the input rules read and correct. The
// main window's list controls implement it; tests and tools use TPlainTable.

#include <QString>

#include <vector>

class TCellTable {
public:
    virtual ~TCellTable() = default;
    virtual int RowCount() const = 0;
    virtual QString Cell(int row, int column) const = 0;
    virtual void SetCell(int row, int column, const QString& text) = 0;
};

class TPlainTable final : public TCellTable {
public:
    TPlainTable(int rows, int columns) : m_columns(columns), m_cells(size_t(rows) * size_t(columns)) {}
    int RowCount() const override { return int(m_cells.size() / size_t(m_columns)); }
    QString Cell(int row, int column) const override { return m_cells[Index(row, column)]; }
    void SetCell(int row, int column, const QString& text) override { m_cells[Index(row, column)] = text; }
    // Fills a row from column 1 on; column 0 gets the row number, as in the lists.
    void SetRow(int row, const std::vector<QString>& cells)
    {
        SetCell(row, 0, QString::number(row + 1));
        for (size_t c = 0; c < cells.size(); ++c)
            SetCell(row, int(c) + 1, cells[c]);
    }

private:
    size_t Index(int row, int column) const { return size_t(row) * size_t(m_columns) + size_t(column); }
    int m_columns;
    std::vector<QString> m_cells;
};
