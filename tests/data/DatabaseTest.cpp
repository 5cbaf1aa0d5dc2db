#include "RecordingDialogs.h"
#include "TestHome.h"
#include "UnitBLL.h"
#include "UnitData.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class Database : public ::testing::Test {
protected:
    TRecordingDialogs m_dialogs;
    TTestHome m_home;
    TsysData m_data;

    static bool Run(const QString& sql, const QMap<QString, QString>& params = {})
    {
        SetSQL(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            SetParam(it.key(), it.value());
        return ExecCommon();
    }
    // The rows of a SELECT, each as its columns' texts joined by "|".
    static QStringList Rows(const QString& sql)
    {
        const auto q = OpenQuery(sql);
        EXPECT_TRUE(q->isActive()) << sql.toStdString();
        QStringList rows;
        while (q->isActive() && q->next()) {
            QStringList cells;
            for (int c = 0; c < q->record().count(); ++c)
                cells << q->value(c).toString();
            rows << cells.join(u'|');
        }
        return rows;
    }
};

const QString MaterialSelect = u"SELECT ylID,ylCode,ylName,length,width,houdu,color,kcl,bz,isComUse,fxYlinfo.cateID,"
                               "cateName,price FROM fxYlinfo,fxYlCate WHERE fxYlinfo.cateID=fxYlCate.cateID"_s;

} // namespace

TEST_F(Database, EveryStatementOfTheProgramRunsWithTextParameters)
{
    const QString stamp = NowStamp();
    ASSERT_EQ(stamp.size(), 14);
    const struct {
        QString sql;
        QMap<QString, QString> params;
        bool affected;
    } changes[] = {
        {u"INSERT INTO fxYlcate(cateName) VALUES(:cateName)"_s, {{u"cateName"_s, u"浮法玻璃"_s}}, true},
        {u"UPDATE fxYlcate SET cateName=:cateName WHERE cateID=:cateID"_s,
         {{u"cateName"_s, u"浮法白玻"_s}, {u"cateID"_s, u"1"_s}},
         true},
        {u"INSERT INTO fxYlinfo(cateID,ylCode,ylName,length,kcl,color,bz,isComUse,width,houdu,price) "
         "VALUES(:cateID,:ylCode,:ylName,:length,:kcl,:color,:bz,:isComUse,:width,:houdu,:price)"_s,
         {{u"cateID"_s, u"1"_s},
          {u"ylCode"_s, stamp},
          {u"ylName"_s, u"白玻 5mm"_s},
          {u"length"_s, u"2440"_s},
          {u"kcl"_s, u"20"_s},
          {u"color"_s, u"白"_s},
          {u"bz"_s, u"第一行\r\n第二行"_s},
          {u"isComUse"_s, u"1"_s},
          {u"width"_s, u"1830"_s},
          {u"houdu"_s, u"5"_s},
          {u"price"_s, u"35.5"_s}},
         true},
        {u"INSERT INTO fxYlinfo(cateID,ylCode,ylName,length,width,kcl,color,bz) "
         "VALUES(:cateID,:ylCode,:ylName,:length,:width,:kcl,:color,:bz)"_s,
         {{u"cateID"_s, u"1"_s},
          {u"ylCode"_s, u"A2"_s},
          {u"ylName"_s, u"超白 8mm"_s},
          {u"length"_s, u"3300"_s},
          {u"width"_s, u"2440.5"_s},
          {u"kcl"_s, u"5"_s},
          {u"color"_s, u""_s},
          {u"bz"_s, u""_s}},
         true},
        {u"UPDATE fxYlinfo SET cateID=:cateID,ylCode=:ylCode,ylName=:ylName,length=:length,kcl=:kcl,color=:color,"
         "bz=:bz,isComUse=:isComUse,width=:width,houdu=:houdu,price=:price WHERE ylID="_s +
             u"2"_s,
         {{u"cateID"_s, u"1"_s},
          {u"ylCode"_s, u"A2"_s},
          {u"ylName"_s, u"超白 8mm"_s},
          {u"length"_s, u"3300"_s},
          {u"kcl"_s, u"6"_s},
          {u"color"_s, u"超白"_s},
          {u"bz"_s, u""_s},
          {u"isComUse"_s, u"0"_s},
          {u"width"_s, u"2440"_s},
          {u"houdu"_s, u"8"_s},
          {u"price"_s, u"80"_s}},
         true},
        {u"UPDATE fxYlinfo SET kcl=kcl-:kcl WHERE ylID=:ylID"_s, {{u"kcl"_s, u"3"_s}, {u"ylID"_s, u"1"_s}}, true},
        {u"INSERT INTO fxYuliao(ylID,kcl,length,width) VALUES(:ylID,:kcl,:length,:width)"_s,
         {{u"ylID"_s, u"1"_s}, {u"kcl"_s, u"2"_s}, {u"length"_s, u"800"_s}, {u"width"_s, u"600"_s}},
         true},
        {u"UPDATE fxYuliao SET kcl=kcl+:kcl WHERE ylID=:ylID AND length=:length AND width=:width"_s,
         {{u"kcl"_s, u"3"_s}, {u"ylID"_s, u"1"_s}, {u"length"_s, u"800"_s}, {u"width"_s, u"600"_s}},
         true},
        {u"UPDATE fxYuliao SET kcl=kcl+:kcl WHERE ylID=:ylID AND length=:length AND width=:width"_s,
         {{u"kcl"_s, u"3"_s}, {u"ylID"_s, u"1"_s}, {u"length"_s, u"600"_s}, {u"width"_s, u"800"_s}},
         false},
        {u"INSERT INTO fxYuliao(ylID,kcl,length,width) VALUES(:ylID,:kcl,:length,:width)"_s,
         {{u"ylID"_s, u"1"_s}, {u"kcl"_s, u"1"_s}, {u"length"_s, u"1500"_s}, {u"width"_s, u"400"_s}},
         true},
        {u"UPDATE fxYuliao SET kcl=:kcl WHERE ID=:ID"_s, {{u"kcl"_s, u"4"_s}, {u"ID"_s, u"2"_s}}, true},
        {u"UPDATE fxPrm SET EdgT=:EdgT,EdgB=:EdgB,EdgL=:EdgL,EdgR=:EdgR,Blade=:Blade,BinL=:BinL,BinW=:BinW,"
         "WenLu=:WenLu,OptTm=:OptTm,PriCut=:PriCut,LayOut=:LayOut,FirCut=:FirCut,lingyin=:lingyin,wucha=:wucha"_s,
         TBLL::PrmTexts(TD2RPrm{}), true},
        {u"UPDATE DispSet SET PnlWidth=:PnlWidth"_s, {{u"PnlWidth"_s, u"300"_s}}, true},
        {u"UPDATE ShowSet SET ShowDemo=:val"_s, {{u"val"_s, u"1"_s}}, true},
        {u"UPDATE labmdal SET paperW=:paperW,paperH=:paperH,lbRow=:lbRow,lbCol=:lbCol,marLeft=:marLeft,"
         "marTop=:marTop,spCol=:spCol, spRow=:spRow WHERE mdID="_s +
             u"5"_s,
         {{u"paperW"_s, u"210"_s},
          {u"paperH"_s, u"297"_s},
          {u"lbRow"_s, u"10"_s},
          {u"lbCol"_s, u"4"_s},
          {u"marLeft"_s, u"5"_s},
          {u"marTop"_s, u"5"_s},
          {u"spCol"_s, u"2"_s},
          {u"spRow"_s, u"2"_s}},
         true},
        {u"DELETE FROM lblmx WHERE mdID="_s + u"5"_s, {}, false}, // an empty template has no objects
        {u"INSERT INTO lblmx(mdID,lbType,px1,py1,px2,py2,content,fsize) "
         "VALUES(:mdID,:lbType,:px1,:py1,:px2,:py2,:content,:fsize)"_s,
         {{u"mdID"_s, u"5"_s},
          {u"lbType"_s, u"2"_s},
          {u"px1"_s, u"10"_s},
          {u"py1"_s, u"12"_s},
          {u"px2"_s, u"50"_s},
          {u"py2"_s, u"30"_s},
          {u"content"_s, u"字段1"_s},
          {u"fsize"_s, u"9"_s}},
         true},
        {u"DELETE FROM lblmx WHERE mdID="_s + u"5"_s, {}, true},
    };
    for (const auto& c : changes)
        EXPECT_EQ(Run(c.sql, c.params), c.affected) << c.sql.toStdString();
    EXPECT_EQ(Run(u"UPDATE DispSet SET rawRC=:rawRC,eleRC=:eleRC,rawName=:rawName,rawShowName=:rawShowName,"
                  "rawDemo=:rawDemo,rawShowDemo=:rawShowDemo,rawLength=:rawLength,rawWidth=:rawWidth,"
                  "rawCount=:rawCount,eleName=:eleName,eleShowName=:eleShowName,eleDemo=:eleDemo,"
                  "eleShowDemo=:eleShowDemo,eleLength=:eleLength,eleWidth=:eleWidth,eleCount=:eleCount,"
                  "rawPrio=:rawPrio,rawShowPrio=:rawShowPrio,rawPrice=:rawPrice,rawShowPrice=:rawShowPrice,"
                  "eleWL=:eleWL,eleShowWL=:eleShowWL"_s,
                  TBLL::ConfigTexts(TConfig{})),
              true);

    // What the reads see of it, both letter cases of the category table and
    // the capitalised From included.
    EXPECT_EQ(Rows(u"SELECT cateID,cateName FROM fxYlCate"_s), QStringList{u"1|浮法白玻"_s});
    EXPECT_EQ(Rows(MaterialSelect).size(), 2);
    const QStringList one = Rows(MaterialSelect + u" AND fxYlinfo.cateID="_s + u"1"_s);
    ASSERT_EQ(one.size(), 2);
    EXPECT_TRUE(one[0].startsWith(u"1|"_s));
    EXPECT_TRUE(one[0].contains(u"|17|第一行\r\n第二行|1|1|浮法白玻|35.5"_s)) << one[0].toStdString();
    EXPECT_TRUE(one[1].contains(u"|3300|2440|8|超白|6|"_s)) << one[1].toStdString();
    EXPECT_EQ(Rows(u"SELECT ID,ylCode,ylName,length,width,kcl From vYuliao WHERE ylID="_s + u"1"_s).size(), 2);
    EXPECT_EQ(Rows(u"SELECT ylID,ylCode,ylName,length,width,houdu,price,kcl,cateName,color FROM vYCKC "
                   "ORDER BY YI,length DESC"_s),
              (QStringList{u"2|A2|超白 8mm|3300|2440|8|80|6|浮法白玻|超白"_s,
                           u"1|%1|白玻 5mm|2440|1830|5|35.5|17|浮法白玻|白"_s.arg(stamp),
                           u"Y2|%1|白玻 5mm|1500|400|5|35.5|4|浮法白玻|白"_s.arg(stamp),
                           u"Y1|%1|白玻 5mm|800|600|5|35.5|5|浮法白玻|白"_s.arg(stamp)}));
    EXPECT_EQ(Rows(u"SELECT ylID,ylCode,ylName,length,width,houdu,price,kcl,cateName,color FROM vYCKC "
                   "WHERE ylName LIKE '%"_s +
                   u"白玻"_s + u"%' ORDER BY YI,length DESC"_s)
                  .size(),
              3);
    EXPECT_EQ(Rows(u"SELECT ylID,ylCode,ylName,length,width,houdu,price,kcl,cateName,color FROM vYuanliao "
                   "WHERE ylName LIKE '%"_s +
                   u"白"_s + u"%' ORDER BY YI,length DESC"_s)
                  .size(),
              2);
    EXPECT_EQ(Rows(u"SELECT mdID,mdName FROM labmdal"_s).size(), 7);
    EXPECT_EQ(Rows(u"SELECT * FROM labmdal WHERE mdID="_s + u"5"_s),
              QStringList{u"5|自定义模板一|210|297|10|4|5|5|2|2"_s});
    EXPECT_FALSE(Rows(u"SELECT * FROM lblmx WHERE mdID="_s + u"1"_s).isEmpty());
    EXPECT_EQ(Rows(u"SELECT * FROM ShowSet"_s), QStringList{u"1|1|1|1|1"_s});
    EXPECT_EQ(Rows(u"SELECT * FROM fxPrm"_s).size(), 1);

    const QStringList deletes = {u"DELETE FROM fxYuliao WHERE ID="_s + u"1"_s,
                                 u"DELETE FROM fxYlinfo WHERE ylID="_s + u"2"_s,
                                 u"DELETE FROM fxYlcate WHERE cateID="_s + u"1"_s};
    for (const QString& del : deletes)
        EXPECT_TRUE(Run(del)) << del.toStdString();
    // A remnant outlives its deleted material in the remnant view.
    EXPECT_TRUE(Run(u"DELETE FROM fxYlinfo WHERE ylID="_s + u"1"_s));
    EXPECT_EQ(Rows(u"SELECT ID,ylCode,ylName,length,width,kcl From vYuliao WHERE ylID="_s + u"1"_s).size(), 1);
    EXPECT_TRUE(m_dialogs.Infos.isEmpty());
}

TEST_F(Database, ARefusedStatementChangesNothingAndIsNoSuccess)
{
    const QString insert = u"INSERT INTO fxYlinfo(cateID,ylCode,ylName,length,width,kcl,color,bz) "
                           "VALUES(:cateID,:ylCode,:ylName,:length,:width,:kcl,:color,:bz)"_s;
    QMap<QString, QString> values = {{u"cateID"_s, u"1"_s},   {u"ylCode"_s, u"A"_s},  {u"ylName"_s, u"白玻"_s},
                                     {u"length"_s, u"12a"_s}, {u"width"_s, u"600"_s}, {u"kcl"_s, u"3"_s},
                                     {u"color"_s, u""_s},     {u"bz"_s, u""_s}};
    EXPECT_THROW(Run(insert, values), TDbError);
    values[u"length"_s] = u"1200"_s;
    values[u"kcl"_s] = u"2.5"_s; // a whole number column takes no fraction
    EXPECT_THROW(Run(insert, values), TDbError);
    EXPECT_TRUE(Rows(u"SELECT * FROM fxYlinfo"_s).isEmpty());

    EXPECT_FALSE(
        Run(u"UPDATE fxYlinfo SET kcl=kcl-:kcl WHERE ylID=:ylID"_s, {{u"kcl"_s, u"1"_s}, {u"ylID"_s, u"99"_s}}));
    EXPECT_THROW(Run(u"UPDATE fxNothing SET a=:a"_s, {{u"a"_s, u"1"_s}}), TDbError);
    SetSQL(u"UPDATE ShowSet SET ShowXH=:val"_s);
    EXPECT_THROW(SetParam(u"value"_s, u"1"_s), TDbError); // no such marker
    EXPECT_THROW(ExecCommon(), TDbError);                 // a marker without a value
    // A select that cannot run says so once and hands back an unopened query.
    EXPECT_FALSE(OpenQuery(u"SELECT * FROM fxNothing"_s)->isActive());
    EXPECT_EQ(m_dialogs.Infos, QStringList{DbFailMessage});
}

TEST_F(Database, SettingsReadAndWrite)
{
    TBLL bll;
    EXPECT_EQ(bll.ReadPrm(), TD2RPrm{});
    EXPECT_EQ(bll.ReadConfig(), TConfig{});
    EXPECT_EQ(bll.ReadShowSet(), TShowSet{});

    TD2RPrm prm;
    prm.OptTm = 40;
    prm.Blade = 3.5;
    prm.PriCut = 2;
    prm.FirCut = 1;
    prm.LayOut = 2;
    prm.EdgL = 12;
    prm.BinW = 250;
    prm.lingyin = 1;
    prm.wucha = 2;
    EXPECT_TRUE(bll.SavePrm(TBLL::PrmTexts(prm)));
    EXPECT_EQ(Rows(u"SELECT PriCut,FirCut,LayOut FROM fxPrm"_s), QStringList{u"3|2|3"_s});
    EXPECT_EQ(bll.ReadPrm(), prm);

    TConfig config;
    config.rawRC = 80;
    config.eleName = u"零件名"_s;
    config.eleShowWL = 0;
    EXPECT_TRUE(bll.SaveConfig(TBLL::ConfigTexts(config)));
    EXPECT_TRUE(bll.SavePnlWidth(321));
    config.PnlWidth = 321;
    EXPECT_EQ(bll.ReadConfig(), config);

    EXPECT_TRUE(bll.SaveShowSet(u"ShowBin"_s, false));
    EXPECT_EQ(bll.ReadShowSet().ShowBin, 0);
    EXPECT_THROW(bll.SaveShowSet(u"ShowBin=1;--"_s, true), TDbError);

    // A settings box holding a text that is no number: refused, nothing stored.
    QMap<QString, QString> texts = TBLL::PrmTexts(TD2RPrm{});
    texts[u"Blade"_s] = u"3mm"_s;
    EXPECT_THROW(bll.SavePrm(texts), TDbError);
    EXPECT_EQ(bll.ReadPrm(), prm);
    EXPECT_TRUE(m_dialogs.Infos.isEmpty());
}

TEST_F(Database, StoredChoicesMapOntoTheRecord)
{
    const struct {
        const char* stored;
        uint8_t read;
    } cases[] = {{"1", 0}, {"2", 1}, {"3", 2}, {"0", 0}, {"7", 0}};
    TBLL bll;
    for (const auto& c : cases) {
        ASSERT_TRUE(
            Run(u"UPDATE fxPrm SET PriCut=:v, FirCut=:v, LayOut=:v"_s, {{u"v"_s, QString::fromLatin1(c.stored)}}));
        const TD2RPrm prm = bll.ReadPrm();
        EXPECT_EQ(prm.PriCut, c.read) << c.stored;
        EXPECT_EQ(prm.FirCut, c.read) << c.stored;
        EXPECT_EQ(prm.LayOut, c.read) << c.stored;
    }
}

TEST_F(Database, ConfigurationTablesWithoutARowGiveTheDefaults)
{
    TBLL bll;
    EXPECT_TRUE(bll.SavePrm(TBLL::PrmTexts([] {
        TD2RPrm p;
        p.OptTm = 70;
        return p;
    }())));
    for (const char* table : {"fxPrm", "DispSet", "ShowSet"}) {
        QSqlQuery q(TsysData::Current().Connection());
        ASSERT_TRUE(q.exec(u"DELETE FROM "_s + QLatin1StringView(table)));
    }
    EXPECT_EQ(bll.ReadPrm(), TD2RPrm{});
    EXPECT_EQ(bll.ReadConfig(), TConfig{});
    EXPECT_EQ(bll.ReadShowSet(), TShowSet{});
    // Saving against an empty table changes no row: no success.
    EXPECT_FALSE(bll.SavePrm(TBLL::PrmTexts(TD2RPrm{})));
    EXPECT_FALSE(bll.SavePnlWidth(300));
    EXPECT_TRUE(m_dialogs.Infos.isEmpty());
}

TEST(DatabaseFile, AMissingDatabaseIsReportedOnEveryReadAndNeverCreated)
{
    TRecordingDialogs dialogs;
    TTestHome home(false);
    TsysData data;
    TBLL bll;
    EXPECT_EQ(bll.ReadPrm(), TD2RPrm{});
    EXPECT_EQ(bll.ReadConfig(), TConfig{});
    EXPECT_EQ(bll.ReadShowSet(), TShowSet{});
    EXPECT_EQ(dialogs.Infos, QStringList(3, DbFailMessage));
    EXPECT_THROW(bll.SavePnlWidth(100), TDbError);
    EXPECT_FALSE(QFile::exists(home.DatabasePath()));

    // The file arriving later (a restore) is picked up by the next read.
    ASSERT_TRUE(QFile::copy(QStringLiteral(KAVO_BIN_DIR "/KAVODB.mdb"), home.DatabasePath()));
    QFile::setPermissions(home.DatabasePath(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(bll.SavePnlWidth(100));
}

TEST(DatabaseFile, TheShippedDatabaseHoldsTheDefaultsAndTheTemplates)
{
    const auto shipped = [] {
        QFile f(QStringLiteral(KAVO_BIN_DIR "/KAVODB.mdb"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray before = shipped();
    TRecordingDialogs dialogs;
    TTestHome home;
    TsysData data;
    QSqlQuery q(data.Connection());
    ASSERT_TRUE(data.EnsureOpen());
    ASSERT_TRUE(q.exec(u"PRAGMA user_version"_s) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    ASSERT_TRUE(q.exec(u"SELECT PriCut,FirCut,LayOut,lingyin FROM fxPrm"_s) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1); // stored as 1..3
    EXPECT_EQ(q.value(3).toInt(), 0);
    // Every template with objects keeps them inside its label.
    ASSERT_TRUE(q.exec(u"SELECT m.mdName, m.paperW, m.paperH, m.lbRow, m.lbCol, m.marLeft, m.marTop, m.spCol, "
                       "m.spRow, MAX(o.px2), MAX(o.py2) FROM labmdal m JOIN lblmx o ON o.mdID = m.mdID "
                       "GROUP BY m.mdID"_s));
    int withObjects = 0;
    while (q.next()) {
        ++withObjects;
        const double labelW =
            (q.value(1).toDouble() - 2 * q.value(5).toDouble() - (q.value(4).toDouble() - 1) * q.value(7).toDouble()) /
            q.value(4).toDouble();
        const double labelH =
            (q.value(2).toDouble() - 2 * q.value(6).toDouble() - (q.value(3).toDouble() - 1) * q.value(8).toDouble()) /
            q.value(3).toDouble();
        const double pxPerMm = 96 / 25.4;
        EXPECT_LT(q.value(9).toDouble(), labelW * pxPerMm) << q.value(0).toString().toStdString();
        EXPECT_LT(q.value(10).toDouble(), labelH * pxPerMm) << q.value(0).toString().toStdString();
    }
    EXPECT_GE(withObjects, 3);
    // The database the build ships is untouched by all of this.
    ASSERT_TRUE(q.exec(u"UPDATE DispSet SET PnlWidth=1"_s));
    EXPECT_EQ(shipped(), before);
}

TEST(DatabaseFile, AnEmptyFileIsNoDatabaseAndStaysAsItIs)
{
    TRecordingDialogs dialogs;
    TTestHome home(false);
    QFile empty(home.DatabasePath());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    TsysData data;
    EXPECT_EQ(TBLL().ReadPrm(), TD2RPrm{});
    EXPECT_EQ(dialogs.Infos, QStringList{DbFailMessage});
    EXPECT_EQ(QFileInfo(home.DatabasePath()).size(), 0);
}

TEST_F(Database, ACommandThatFailsReachesTheErrorBox)
{
    EXPECT_TRUE(RunCommand([] { Run(u"UPDATE DispSet SET PnlWidth=:PnlWidth"_s, {{u"PnlWidth"_s, u"200"_s}}); }));
    EXPECT_FALSE(RunCommand([] { Run(u"UPDATE DispSet SET PnlWidth=:PnlWidth"_s, {{u"PnlWidth"_s, u"宽"_s}}); }));
    ASSERT_EQ(m_dialogs.Errors.size(), 1);
    // The database's own words, not only the statement.
    EXPECT_TRUE(m_dialogs.Errors.front().contains(u"cannot store TEXT value"_s))
        << m_dialogs.Errors.front().toStdString();
    EXPECT_EQ(TBLL().ReadConfig().PnlWidth, 200);
}
