#pragma once

// Business rules without state: reading and storing the settings, turning the
// two input lists into the optimizer's input, and telling whether the input
// of a calculation changed.

#include "CellTable.h"
#include "D2Config.h"
#include "D2Records.h"

#include <QMap>
#include <QString>

#include <stdexcept>

// A required cell whose text does not convert; the calculation does not start.
class TInputError final : public std::runtime_error {
public:
    explicit TInputError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

// Column positions of the two input lists.
namespace RawCol {
enum { No = 0, Prio = 1, Name = 2, Demo = 3, Length = 4, Width = 5, Price = 6, Count = 7, DbID = 8, Columns = 9 };
}
namespace EleCol {
enum { No = 0, Name = 1, Demo = 2, Length = 3, Width = 4, Count = 5, Grain = 6, Columns = 7 };
}

class TBLL final {
public:
    // The stored settings; the defaults when the row is missing or unreadable.
    TD2RPrm ReadPrm() const;
    TConfig ReadConfig() const;
    TShowSet ReadShowSet() const;

    // The writers return whether a row was changed; a value the database
    // refuses throws TDbError.
    bool SavePnlWidth(int width) const;
    // column: one of ShowXH, ShowName, ShowDemo, ShowSize, ShowBin.
    bool SaveShowSet(const QString& column, bool on) const;
    // Texts by column name, as the settings dialog collects them; every
    // column of the statement must be given.
    bool SavePrm(const QMap<QString, QString>& texts) const;
    bool SaveConfig(const QMap<QString, QString>& texts) const;
    // The texts a record is stored as (PriCut, FirCut, LayOut as 1..3).
    static QMap<QString, QString> PrmTexts(const TD2RPrm& prm);
    static QMap<QString, QString> ConfigTexts(const TConfig& config);

    // Reads both lists down to their first empty row. A partly filled row shows
    // the row-error message and gives false. A required cell that does not
    // convert throws TInputError.
    bool ReadInput(const TCellTable& raws, const TCellTable& eles, TD2REleArr& eleArr, TD2RRawArr& rawArr) const;

    static bool RawChanged(const TD2RRawArr& a, const TD2RRawArr& b);
    static bool EleChanged(const TD2REleArr& a, const TD2REleArr& b);
    // Only the fields that change a plan: not OptTm, WenLu, BinL, BinW, lingyin.
    static bool PrmChanged(const TD2RPrm& a, const TD2RPrm& b);

    // After an edit: a length, width or quantity cell that is not a number is emptied.
    static void CheckRawRow(TCellTable& table, int row);
    static void CheckEleRow(TCellTable& table, int row);

    static QString RowErrorMessage(int row);
};
