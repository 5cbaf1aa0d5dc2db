#pragma once

// The string grid of the settings dialog: column 0 numbers the rows and is
// fixed, the header shows the parts of Caption, and the row commands of the
// lists work on the current cell.

#include <QPointer>
#include <QTableWidget>

class QMenu;

class TGridView final : public QTableWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TGridView(QWidget* parent = nullptr);

    // The column headers separated by "|"; columns 0 to 6 show theirs.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);

    QMenu* RowMenu;

    // Data rows are all rows, data columns 1 to the last.
    void PasteData();
    void InsertRow();
    void MoveRowUp();
    void MoveRowDown();
    void DeleteRow();
    void ClearRows();
    void ExportList();
    bool ExportTo(const QString& path, QString* error = nullptr) const;

    // Ends an open cell editor, storing its text.
    void CommitEditing();

private:
    friend class TGridViewDelegate;

    void ApplyCaption();
    void NumberRows();

    QString m_caption;
    QPointer<QWidget> m_editor;
};

// Data columns 1 to columns of every row: each cell's text followed by a
// comma, a text with a comma in double quotes; CRLF after each line; GBK.
bool SaveGridCSV(const QTableWidget* grid, int columns, const QString& fileName, QString* error = nullptr);
