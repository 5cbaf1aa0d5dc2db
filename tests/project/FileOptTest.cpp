#include "UnitFileOpt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// Two lists of fixed row counts that remember their cells and messages.
class TableLists final : public TProjectLists {
public:
    TableLists(int sheetRows, int partRows) : m_sheetRows(sheetRows), m_partRows(partRows) {}
    int SheetRowCount() const override { return m_sheetRows; }
    int PartRowCount() const override { return m_partRows; }
    void SetSheetCell(int row, int column, const QString& text) override { Sheet[{row, column}] = text; }
    void SetPartCell(int row, int column, const QString& text) override { Part[{row, column}] = text; }
    void ShowInfo(const QString& message) override { Messages.push_back(message); }
    std::map<std::pair<int, int>, QString> Sheet;
    std::map<std::pair<int, int>, QString> Part;
    std::vector<QString> Messages;

private:
    int m_sheetRows;
    int m_partRows;
};

struct Job {
    TD2RRawArr Sheets;
    TD2REleArr Parts;
    TD2RSchame Plan;
    TD2RPrm Prm;
};

Job SampleJob()
{
    Job j;
    j.Prm.Blade = 3.5;
    j.Prm.PriCut = 0;
    j.Prm.FirCut = 1;
    j.Prm.LayOut = 2;
    j.Prm.EdgL = 10;
    j.Prm.EdgR = 12;
    j.Prm.EdgT = 5;
    j.Prm.EdgB = -1;
    j.Prm.BinL = 300;
    j.Prm.BinW = 200;
    j.Prm.wucha = 1;
    j.Sheets = {{1, "浮法玻璃", "-1", "A&B", 35.5, 2440, 1830, 20, 1}, {2, "喆", "17", "", 0, 1830, 1220, 3, 0}};
    j.Parts = {{1, "门<左>", "say \"hi\"", 716.5, 396, 4, 1}, {2, "镜", "", 612.34, 0.1 + 0.2, 1, 0}};
    TD2RGene g;
    g.RawIdx = 0;
    g.DbID = "-1";
    g.Name = "浮法玻璃";
    g.Price = 35.5;
    g.Length = 2440;
    g.Width = 1830;
    g.Count = 2;
    g.Eles = {{0, 1, "门<左>", "say \"hi\"", 10, 5, 716.5, 396}};
    g.Rects = {{730, 5, 612.34, 1812}, {10, 404.5, 2418, 1e-6}};
    g.EleArea = 716.5 * 396;
    g.MaxBin = 2418 * 1e-6;
    j.Plan = {g};
    return j;
}

QByteArray Bytes(const Job& j)
{
    return TD2File::ProjectBytes(j.Sheets, j.Parts, j.Plan, j.Prm);
}

Job Load(const QByteArray& bytes, TLoadResult expected = TLoadResult::Loaded)
{
    Job j;
    TRecordOnlyLists lists;
    EXPECT_EQ(TD2File::LoadProjectBytes(lists, bytes, j.Plan, j.Prm, j.Parts, j.Sheets), expected);
    return j;
}

} // namespace

TEST(ProjectFile, IsWrittenByteForByte)
{
    // The golden file was written by an independent GBK encoder.
    QFile golden(QStringLiteral(KAVO_TEST_DATA "/golden.FBL"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    const QByteArray expected = golden.readAll();
    const QByteArray bytes = Bytes(SampleJob());
    EXPECT_EQ(bytes, expected) << bytes.constData();
    // GBK itself, not UTF-8: 浮法玻璃 is B8A1 B7A8 B2A3 C1A7, and 喆 (outside GB2312) is 86B4.
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("b8a1b7a8b2a3c1a7")));
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("3d2286b422")));
}

TEST(ProjectFile, RoundTripKeepsEveryRecord)
{
    Job j = SampleJob();
    j.Sheets[1].Name = "特殊 𠀀😀 & \"引号\" <>"; // outside GBK, and every escape
    j.Parts[1].Demo = "第一行\n第二行\t制表";
    j.Parts[1].Width = 0.3; // 0.1 + 0.2 is written to 15 digits, as 0.3
    const Job back = Load(Bytes(j));
    EXPECT_EQ(back.Sheets, j.Sheets);
    EXPECT_EQ(back.Parts, j.Parts);
    EXPECT_EQ(back.Prm, j.Prm);
    ASSERT_EQ(back.Plan.size(), 1u);
    EXPECT_EQ(back.Plan[0].Eles, j.Plan[0].Eles);
    // Leftovers keep one decimal, parts every digit.
    EXPECT_EQ(back.Plan[0].Rects[0].Length, 612.3);
    EXPECT_EQ(back.Parts[1].Length, 612.34);
    // Saving what was loaded writes the same bytes.
    EXPECT_EQ(Bytes(back), Bytes(Load(Bytes(back))));
}

TEST(ProjectFile, ChoicesOutsideTheirRangeKeepTheField)
{
    const struct {
        const char* priority;
        uint8_t before;
        uint8_t after;
    } cases[] = {{"1", 2, 0}, {"3", 0, 2}, {"7", 1, 1}, {"0", 2, 2}, {"", 1, 1}, {nullptr, 1, 1}};
    for (const auto& c : cases) {
        QByteArray bytes = Bytes(Job{});
        bytes.replace("Priority=\"1\" ",
                      c.priority ? QByteArray("Priority=\"" + QByteArray(c.priority) + "\" ") : QByteArray());
        Job j;
        j.Prm.PriCut = c.before;
        TRecordOnlyLists lists;
        TD2File::LoadProjectBytes(lists, bytes, j.Plan, j.Prm, j.Parts, j.Sheets);
        EXPECT_EQ(j.Prm.PriCut, c.after) << (c.priority ? c.priority : "(missing)");
    }
    Job odd;
    odd.Prm.LayOut = 5;
    EXPECT_FALSE(Bytes(odd).contains("LayStyle"));
}

TEST(ProjectFile, ListsAreFilledByPositionAndRowNumbersAreIgnored)
{
    QByteArray bytes = Bytes(SampleJob());
    bytes.replace("<RW XH=\"1\"", "<RW XH=\"9\"").replace("<RW XH=\"2\"", "<RW XH=\"12\"");
    bytes.replace("PRI=\"0\"", "PRI=\"2\"");
    bytes.replace("<RLST>", "<SHEETS>").replace("</RLST>", "</SHEETS>"); // names are not checked
    TableLists lists(5, 5);
    lists.Sheet[{4, 2}] = u"untouched"_s;
    Job j;
    ASSERT_EQ(TD2File::LoadProjectBytes(lists, bytes, j.Plan, j.Prm, j.Parts, j.Sheets), TLoadResult::Loaded);
    ASSERT_EQ(j.Sheets.size(), 2u);
    EXPECT_EQ(j.Sheets[0].No, 1);
    EXPECT_EQ(j.Sheets[1].No, 2);
    EXPECT_EQ(j.Sheets[1].Prio, 0);
    EXPECT_EQ((lists.Sheet[{0, 1}]), u"优先"_s);
    EXPECT_EQ((lists.Sheet[{1, 1}]), u"普通"_s);
    EXPECT_EQ((lists.Sheet[{0, 3}]), u"A&B"_s);
    EXPECT_EQ((lists.Sheet[{0, 6}]), u"35.5"_s);
    EXPECT_EQ((lists.Sheet[{0, 7}]), u"20"_s);
    EXPECT_EQ((lists.Sheet[{1, 8}]), u"17"_s);
    EXPECT_EQ((lists.Part[{1, 6}]), u"0"_s);
    EXPECT_EQ((lists.Sheet[{4, 2}]), u"untouched"_s);
    EXPECT_EQ(lists.Sheet.count({0, 0}), 0u); // the row number column is never written
}

TEST(ProjectFile, TooFewRowsStopTheReadWithAMessage)
{
    Job before;
    before.Plan = SampleJob().Plan;
    before.Plan[0].Name = "old";
    const QByteArray bytes = Bytes(SampleJob());

    TableLists fewSheets(1, 10);
    Job a = before;
    EXPECT_EQ(TD2File::LoadProjectBytes(fewSheets, bytes, a.Plan, a.Prm, a.Parts, a.Sheets),
              TLoadResult::TooFewSheetRows);
    EXPECT_EQ(fewSheets.Messages, std::vector<QString>{TD2File::SheetRowsMessage});
    EXPECT_EQ(a.Prm.Blade, 3.5); // the parameters are read
    EXPECT_TRUE(a.Sheets.empty());
    EXPECT_TRUE(fewSheets.Sheet.empty());

    TableLists fewParts(2, 1);
    Job b = before;
    EXPECT_EQ(TD2File::LoadProjectBytes(fewParts, bytes, b.Plan, b.Prm, b.Parts, b.Sheets),
              TLoadResult::TooFewPartRows);
    EXPECT_EQ(fewParts.Messages, std::vector<QString>{TD2File::PartRowsMessage});
    EXPECT_EQ(b.Sheets.size(), 2u);
    EXPECT_TRUE(b.Parts.empty());
    EXPECT_EQ(b.Plan[0].Name, "old");

    TableLists exact(2, 2); // as many entries as rows loads completely
    Job c;
    EXPECT_EQ(TD2File::LoadProjectBytes(exact, bytes, c.Plan, c.Prm, c.Parts, c.Sheets), TLoadResult::Loaded);
}

TEST(ProjectFile, EmptyListsAndAnEmptyPlan)
{
    const QByteArray bytes = Bytes(Job{});
    EXPECT_TRUE(bytes.contains("<RLST>\r\n</RLST>\r\n<ELST>\r\n</ELST>\r\n<FYS>\r\n</FYS>\r\n</KAVO>\r\n"));
    Job j;
    j.Plan = SampleJob().Plan;
    TRecordOnlyLists lists;
    EXPECT_EQ(TD2File::LoadProjectBytes(lists, bytes, j.Plan, j.Prm, j.Parts, j.Sheets), TLoadResult::Loaded);
    EXPECT_TRUE(j.Plan.empty());
}

TEST(ProjectFile, BadFilesRaiseAClearErrorAndKeepThePlan)
{
    const QByteArray good = Bytes(SampleJob());
    QByteArray badNumber = good;
    badNumber.replace("RL=\"2440\" RW=\"1830\" RC=\"2\"", "RL=\"24x0\" RW=\"1830\" RC=\"2\"");
    QByteArray missingAttr = good;
    missingAttr.replace(" EC=\"4\"", "");
    QByteArray noPlan = good;
    noPlan.truncate(noPlan.indexOf("<FYS>"));
    noPlan += "</KAVO>\r\n";
    const struct {
        const char* what;
        QByteArray bytes;
        const char* inMessage;
    } cases[] = {
        {"not XML", "this is not a project", "XML"}, {"cut short", good.left(good.size() / 2), "XML"},
        {"a list missing", noPlan, "切割方案"},      {"a number that does not convert", badNumber, "24x0"},
        {"an attribute missing", missingAttr, "EC"},
    };
    for (const auto& c : cases) {
        Job j;
        j.Plan = SampleJob().Plan;
        j.Plan[0].Name = "old";
        TRecordOnlyLists lists;
        try {
            TD2File::LoadProjectBytes(lists, c.bytes, j.Plan, j.Prm, j.Parts, j.Sheets);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const TFileError& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.inMessage))) << c.what << ": " << e.what();
        }
        ASSERT_EQ(j.Plan.size(), 1u) << c.what;
        EXPECT_EQ(j.Plan[0].Name, "old") << c.what;
    }
    for (const QByteArray& empty : {QByteArray(), QByteArray("  \r\n"), QByteArray("<?xml version=\"1.0\"?>\r\n")})
        Load(empty, TLoadResult::Empty);
}

TEST(ProjectFile, SavingReplacesTheFileWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"job.FBL"_s);
    const Job j = SampleJob();
    TD2File::SaveProject(j.Sheets, j.Parts, path, j.Plan, j.Prm);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Bytes(j));
    file.close();

    Job loaded;
    TRecordOnlyLists lists;
    EXPECT_EQ(TD2File::LoadProject(lists, path, loaded.Plan, loaded.Prm, loaded.Parts, loaded.Sheets),
              TLoadResult::Loaded);
    EXPECT_EQ(loaded.Sheets, j.Sheets);

    // A folder in the way and a folder that does not exist: an error, and
    // nothing left behind.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"taken.FBL"_s));
    for (const QString& target : {dir.filePath(u"taken.FBL"_s), dir.filePath(u"missing/job.FBL"_s)})
        EXPECT_THROW(TD2File::SaveProject(j.Sheets, j.Parts, target, j.Plan, j.Prm), TFileError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              (QStringList{u"job.FBL"_s, u"taken.FBL"_s}));
    EXPECT_THROW(
        TD2File::LoadProject(lists, dir.filePath(u"none.FBL"_s), loaded.Plan, loaded.Prm, loaded.Parts, loaded.Sheets),
        TFileError);
}
