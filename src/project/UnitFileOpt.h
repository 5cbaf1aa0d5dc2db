#pragma once

// Project files ("FBL"): the parameters, the sheet list, the part list and the
// plan of one job as XML text in GBK, one element per line.

#include "D2Records.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <string>

// What the reader needs of the main window's two input lists: their number of
// rows, their cells, and the information box for the "too few rows" messages.
class TProjectLists {
public:
    virtual ~TProjectLists() = default;
    virtual int SheetRowCount() const = 0;
    virtual int PartRowCount() const = 0;
    virtual void SetSheetCell(int row, int column, const QString& text) = 0;
    virtual void SetPartCell(int row, int column, const QString& text) = 0;
    virtual void ShowInfo(const QString& message) = 0;
};

// A file that cannot be read or written; the message names the file and the fault.
class TFileError final : public std::runtime_error {
public:
    explicit TFileError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

enum class TLoadResult {
    Loaded,
    Empty,           // no root element: nothing was changed
    TooFewSheetRows, // only the parameters were read
    TooFewPartRows,  // the parameters and the sheets were read, not the plan
};

class TD2File final {
public:
    // Writes the whole file beside the target and renames it over the target,
    // so a failure leaves an existing file whole. Throws TFileError.
    static void SaveProject(const TD2RRawArr& sheets, const TD2REleArr& parts, const QString& fileName,
                            const TD2RSchame& plan, const TD2RPrm& prm);
    // The bytes SaveProject writes.
    static QByteArray ProjectBytes(const TD2RRawArr& sheets, const TD2REleArr& parts, const TD2RSchame& plan,
                                   const TD2RPrm& prm);

    // Fills the two lists row by row and appends to sheets and parts (the
    // caller empties them); prm and plan are overwritten in place. The plan
    // is replaced only when it was read whole. Throws TFileError for a file
    // that is missing, not XML, lacks a list or holds a value that does not
    // convert; what was read before the fault stays.
    static TLoadResult LoadProject(TProjectLists& lists, const QString& fileName, TD2RSchame& plan, TD2RPrm& prm,
                                   TD2REleArr& parts, TD2RRawArr& sheets);
    static TLoadResult LoadProjectBytes(TProjectLists& lists, const QByteArray& bytes, TD2RSchame& plan, TD2RPrm& prm,
                                        TD2REleArr& parts, TD2RRawArr& sheets);

    static inline const QString SheetRowsMessage = QStringLiteral("原材表格行数太少，请修改原材表格行数！");
    static inline const QString PartRowsMessage = QStringLiteral("切割尺寸表格行数太少，请修改切割尺寸表格行数！");
};

// Lists of any length that keep no cells: for reading a project into the
// records alone (the command-line tool, tests).
class TRecordOnlyLists final : public TProjectLists {
public:
    int SheetRowCount() const override { return 1 << 30; }
    int PartRowCount() const override { return 1 << 30; }
    void SetSheetCell(int, int, const QString&) override {}
    void SetPartCell(int, int, const QString&) override {}
    void ShowInfo(const QString& message) override { LastMessage = message; }
    QString LastMessage;
};

// Text in the program's file encoding (GB18030, a superset of GBK) and back.
QByteArray EncodeGbk(const QString& text);
QString DecodeGbk(const QByteArray& bytes, bool* ok = nullptr);
