#include "UnitBLL.h"

#include "NumText.h"
#include "UnitData.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A configuration row read whole or not at all.
class RowReader {
public:
    explicit RowReader(const QSqlQuery& q) : m_q(q) {}
    bool ok = true;
    int32_t Int(const char* column)
    {
        const auto v = TextToInt(FieldText(m_q, column).toStdString());
        ok = ok && v.has_value();
        return v.value_or(0);
    }
    double Real(const char* column)
    {
        const auto v = TextToFloat(FieldText(m_q, column).toStdString());
        ok = ok && v.has_value();
        return v.value_or(0);
    }
    QString Text(const char* column) { return FieldText(m_q, column); }

private:
    const QSqlQuery& m_q;
};

// 1..3 as stored to 0..2; anything else is the first choice.
uint8_t Choice(int32_t stored)
{
    return stored >= 1 && stored <= 3 ? uint8_t(stored - 1) : 0;
}

bool Exec(const QString& sql, const QMap<QString, QString>& texts)
{
    SetSQL(sql);
    for (auto it = texts.begin(); it != texts.end(); ++it)
        SetParam(it.key(), it.value());
    return ExecCommon();
}

const QString PrmUpdate =
    u"UPDATE fxPrm SET "
    "EdgT=:EdgT,EdgB=:EdgB,EdgL=:EdgL,EdgR=:EdgR,Blade=:Blade,BinL=:BinL,BinW=:BinW,WenLu=:WenLu,OptTm=:OptTm,"
    "PriCut=:PriCut,LayOut=:LayOut,FirCut=:FirCut,lingyin=:lingyin,wucha=:wucha"_s;

const QString ConfigUpdate =
    u"UPDATE DispSet SET "
    "rawRC=:rawRC,eleRC=:eleRC,rawName=:rawName,rawShowName=:rawShowName,rawDemo=:rawDemo,rawShowDemo=:rawShowDemo,"
    "rawLength=:rawLength,rawWidth=:rawWidth,rawCount=:rawCount,eleName=:eleName,eleShowName=:eleShowName,"
    "eleDemo=:eleDemo,eleShowDemo=:eleShowDemo,eleLength=:eleLength,eleWidth=:eleWidth,eleCount=:eleCount,"
    "rawPrio=:rawPrio,rawShowPrio=:rawShowPrio,rawPrice=:rawPrice,rawShowPrice=:rawShowPrice,eleWL=:eleWL,"
    "eleShowWL=:eleShowWL"_s;

const QString ConfigSelect =
    u"SELECT rawRC,eleRC,rawName,rawShowName,rawDemo,rawShowDemo,rawLength,rawWidth,rawCount,rawPrio,rawShowPrio,"
    "rawPrice,rawShowPrice,eleName,eleShowName,eleDemo,eleShowDemo,eleLength,eleWidth,eleCount,PnlWidth,eleWL,"
    "eleShowWL FROM DispSet"_s;

bool Empty(const TCellTable& t, int row, int column)
{
    return t.Cell(row, column).isEmpty();
}

enum class RowFill { None, Partly, Full };

// Whether the three required cells of a row are all empty (the list ends
// there), all filled, or partly filled: then the row-error message is shown.
RowFill Filled(const TCellTable& t, int row, std::initializer_list<int> required)
{
    int filled = 0;
    for (int c : required)
        filled += !Empty(t, row, c);
    if (filled == 0)
        return RowFill::None;
    if (filled < int(required.size())) {
        ShowInfo(TBLL::RowErrorMessage(row + 1));
        return RowFill::Partly;
    }
    return RowFill::Full;
}

class CellReader {
public:
    CellReader(const TCellTable& t, const QString& list, int row) : m_t(t), m_list(list), m_row(row) {}
    double Real(int column) const
    {
        const QString text = m_t.Cell(m_row, column);
        const auto v = TextToFloat(text.toStdString());
        if (!v)
            throw TInputError(u"%1第 %2 行：“%3” 不是有效的数字。"_s.arg(m_list).arg(m_row + 1).arg(text));
        return *v;
    }
    int32_t Int(int column) const
    {
        const QString text = m_t.Cell(m_row, column);
        const auto v = TextToInt(text.toStdString());
        if (!v)
            throw TInputError(u"%1第 %2 行：“%3” 不是有效的整数。"_s.arg(m_list).arg(m_row + 1).arg(text));
        return *v;
    }
    std::string Text(int column) const { return m_t.Cell(m_row, column).toStdString(); }

private:
    const TCellTable& m_t;
    QString m_list;
    int m_row;
};

void EmptyNonNumbers(TCellTable& table, int row, std::initializer_list<int> columns)
{
    for (int c : columns) {
        const QString text = table.Cell(row, c);
        if (!text.isEmpty() && !TextToFloat(text.toStdString()))
            table.SetCell(row, c, QString());
    }
}

} // namespace

TD2RPrm TBLL::ReadPrm() const
{
    TD2RPrm prm;
    const auto q = OpenQuery(u"SELECT * FROM fxPrm"_s);
    if (!q->isActive() || !q->next())
        return prm;
    RowReader r(*q);
    TD2RPrm read;
    read.OptTm = r.Int("OptTm");
    read.Blade = r.Real("Blade");
    read.PriCut = Choice(r.Int("PriCut"));
    read.FirCut = Choice(r.Int("FirCut"));
    read.LayOut = Choice(r.Int("LayOut"));
    read.WenLu = r.Int("WenLu");
    read.EdgT = r.Int("EdgT");
    read.EdgB = r.Int("EdgB");
    read.EdgL = r.Int("EdgL");
    read.EdgR = r.Int("EdgR");
    read.BinL = r.Int("BinL");
    read.BinW = r.Int("BinW");
    read.lingyin = r.Int("lingyin");
    read.wucha = r.Int("wucha");
    return r.ok ? read : prm;
}

TConfig TBLL::ReadConfig() const
{
    TConfig config;
    const auto q = OpenQuery(ConfigSelect);
    if (!q->isActive() || !q->next())
        return config;
    RowReader r(*q);
    TConfig read;
    read.rawRC = r.Int("rawRC");
    read.eleRC = r.Int("eleRC");
    read.rawShowName = r.Int("rawShowName");
    read.rawShowDemo = r.Int("rawShowDemo");
    read.eleShowName = r.Int("eleShowName");
    read.eleShowDemo = r.Int("eleShowDemo");
    read.rawShowPrio = r.Int("rawShowPrio");
    read.PnlWidth = r.Int("PnlWidth");
    read.rawShowPrice = r.Int("rawShowPrice");
    read.eleShowWL = r.Int("eleShowWL");
    read.rawName = r.Text("rawName");
    read.rawDemo = r.Text("rawDemo");
    read.rawLength = r.Text("rawLength");
    read.rawWidth = r.Text("rawWidth");
    read.rawCount = r.Text("rawCount");
    read.rawPrio = r.Text("rawPrio");
    read.rawPrice = r.Text("rawPrice");
    read.eleName = r.Text("eleName");
    read.eleDemo = r.Text("eleDemo");
    read.eleLength = r.Text("eleLength");
    read.eleWidth = r.Text("eleWidth");
    read.eleCount = r.Text("eleCount");
    read.eleWL = r.Text("eleWL");
    return r.ok ? read : config;
}

TShowSet TBLL::ReadShowSet() const
{
    TShowSet show;
    const auto q = OpenQuery(u"SELECT * FROM ShowSet"_s);
    if (!q->isActive() || !q->next())
        return show;
    RowReader r(*q);
    TShowSet read;
    read.ShowXH = r.Int("ShowXH");
    read.ShowName = r.Int("ShowName");
    read.ShowDemo = r.Int("ShowDemo");
    read.ShowSize = r.Int("ShowSize");
    read.ShowBin = r.Int("ShowBin");
    return r.ok ? read : show;
}

bool TBLL::SavePnlWidth(int width) const
{
    return Exec(u"UPDATE DispSet SET PnlWidth=:PnlWidth"_s, {{u"PnlWidth"_s, QString::number(width)}});
}

bool TBLL::SaveShowSet(const QString& column, bool on) const
{
    // The column name goes into the statement's text: only the five known ones.
    static const QStringList columns = {u"ShowXH"_s, u"ShowName"_s, u"ShowDemo"_s, u"ShowSize"_s, u"ShowBin"_s};
    if (!columns.contains(column))
        throw TDbError(u"ShowSet 没有列 %1"_s.arg(column));
    return Exec(u"UPDATE ShowSet SET "_s + column + u"=:val"_s, {{u"val"_s, on ? u"1"_s : u"0"_s}});
}

bool TBLL::SavePrm(const QMap<QString, QString>& texts) const
{
    return Exec(PrmUpdate, texts);
}

bool TBLL::SaveConfig(const QMap<QString, QString>& texts) const
{
    return Exec(ConfigUpdate, texts);
}

QMap<QString, QString> TBLL::PrmTexts(const TD2RPrm& p)
{
    const auto n = [](int32_t v) { return QString::number(v); };
    return {{u"EdgT"_s, n(p.EdgT)},
            {u"EdgB"_s, n(p.EdgB)},
            {u"EdgL"_s, n(p.EdgL)},
            {u"EdgR"_s, n(p.EdgR)},
            {u"Blade"_s, QString::fromStdString(FloatText(p.Blade))},
            {u"BinL"_s, n(p.BinL)},
            {u"BinW"_s, n(p.BinW)},
            {u"WenLu"_s, n(p.WenLu)},
            {u"OptTm"_s, n(p.OptTm)},
            {u"PriCut"_s, n(p.PriCut + 1)},
            {u"LayOut"_s, n(p.LayOut + 1)},
            {u"FirCut"_s, n(p.FirCut + 1)},
            {u"lingyin"_s, n(p.lingyin)},
            {u"wucha"_s, n(p.wucha)}};
}

QMap<QString, QString> TBLL::ConfigTexts(const TConfig& c)
{
    const auto n = [](int32_t v) { return QString::number(v); };
    return {{u"rawRC"_s, n(c.rawRC)},
            {u"eleRC"_s, n(c.eleRC)},
            {u"rawName"_s, c.rawName},
            {u"rawShowName"_s, n(c.rawShowName)},
            {u"rawDemo"_s, c.rawDemo},
            {u"rawShowDemo"_s, n(c.rawShowDemo)},
            {u"rawLength"_s, c.rawLength},
            {u"rawWidth"_s, c.rawWidth},
            {u"rawCount"_s, c.rawCount},
            {u"eleName"_s, c.eleName},
            {u"eleShowName"_s, n(c.eleShowName)},
            {u"eleDemo"_s, c.eleDemo},
            {u"eleShowDemo"_s, n(c.eleShowDemo)},
            {u"eleLength"_s, c.eleLength},
            {u"eleWidth"_s, c.eleWidth},
            {u"eleCount"_s, c.eleCount},
            {u"rawPrio"_s, c.rawPrio},
            {u"rawShowPrio"_s, n(c.rawShowPrio)},
            {u"rawPrice"_s, c.rawPrice},
            {u"rawShowPrice"_s, n(c.rawShowPrice)},
            {u"eleWL"_s, c.eleWL},
            {u"eleShowWL"_s, n(c.eleShowWL)}};
}

QString TBLL::RowErrorMessage(int row)
{
    return u"第 "_s + QString::number(row) + u" 行有数据错误，请修改！"_s;
}

bool TBLL::ReadInput(const TCellTable& raws, const TCellTable& eles, TD2REleArr& eleArr, TD2RRawArr& rawArr) const
{
    rawArr.clear();
    for (int row = 0; row < raws.RowCount(); ++row) {
        const RowFill fill = Filled(raws, row, {RawCol::Length, RawCol::Width, RawCol::Count});
        if (fill == RowFill::None)
            break;
        if (fill == RowFill::Partly)
            return false;
        const CellReader c(raws, u"原材表"_s, row);
        TD2RRaw r;
        r.No = c.Int(RawCol::No);
        r.Name = c.Text(RawCol::Name);
        const QString dbId = raws.Cell(row, RawCol::DbID).trimmed();
        r.DbID = dbId.isEmpty() ? "-1" : dbId.toStdString();
        r.Demo = c.Text(RawCol::Demo);
        r.Price = Empty(raws, row, RawCol::Price) ? 0 : c.Real(RawCol::Price);
        r.Length = c.Real(RawCol::Length);
        r.Width = c.Real(RawCol::Width);
        r.Count = c.Int(RawCol::Count);
        r.Prio = raws.Cell(row, RawCol::Prio) == u"优先"_s ? 1 : 0;
        rawArr.push_back(std::move(r));
    }

    eleArr.clear();
    for (int row = 0; row < eles.RowCount(); ++row) {
        const RowFill fill = Filled(eles, row, {EleCol::Length, EleCol::Width, EleCol::Count});
        if (fill == RowFill::None)
            break;
        if (fill == RowFill::Partly)
            return false;
        const CellReader c(eles, u"零件表"_s, row);
        TD2REle e;
        e.No = c.Int(EleCol::No);
        e.Name = c.Text(EleCol::Name);
        e.Demo = c.Text(EleCol::Demo);
        e.Length = c.Real(EleCol::Length);
        e.Width = c.Real(EleCol::Width);
        e.Count = c.Int(EleCol::Count);
        e.NoGrain = eles.Cell(row, EleCol::Grain) == u"0"_s ? 0 : 1;
        eleArr.push_back(std::move(e));
    }
    NormalizeGrain(eleArr);
    return true;
}

bool TBLL::RawChanged(const TD2RRawArr& a, const TD2RRawArr& b)
{
    return a != b; // every field counts, texts exactly, reals by equality
}

bool TBLL::EleChanged(const TD2REleArr& a, const TD2REleArr& b)
{
    return a != b;
}

bool TBLL::PrmChanged(const TD2RPrm& a, const TD2RPrm& b)
{
    return a.Blade != b.Blade || a.PriCut != b.PriCut || a.FirCut != b.FirCut || a.LayOut != b.LayOut ||
           a.EdgT != b.EdgT || a.EdgB != b.EdgB || a.EdgL != b.EdgL || a.EdgR != b.EdgR || a.wucha != b.wucha;
}

void TBLL::CheckRawRow(TCellTable& table, int row)
{
    EmptyNonNumbers(table, row, {RawCol::Length, RawCol::Width, RawCol::Count});
}

void TBLL::CheckEleRow(TCellTable& table, int row)
{
    EmptyNonNumbers(table, row, {EleCol::Length, EleCol::Width, EleCol::Count});
}
