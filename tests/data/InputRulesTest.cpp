#include "RecordingDialogs.h"
#include "UnitBLL.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Sheet rows: priority, name, remark, length, width, price, count, stock id.
TPlainTable Sheets(const std::vector<std::vector<QString>>& rows, int total = 6)
{
    TPlainTable t(total, RawCol::Columns);
    for (size_t r = 0; r < rows.size(); ++r)
        t.SetRow(int(r), rows[r]);
    return t;
}

// Part rows: name, remark, length, width, count, grain tick ("0" ticked).
TPlainTable Parts(const std::vector<std::vector<QString>>& rows, int total = 6)
{
    TPlainTable t(total, EleCol::Columns);
    for (size_t r = 0; r < rows.size(); ++r)
        t.SetRow(int(r), rows[r]);
    return t;
}

struct Read {
    bool ok = false;
    TD2RRawArr raws;
    TD2REleArr eles;
};

Read ReadBoth(const TPlainTable& sheets, const TPlainTable& parts)
{
    Read r;
    r.ok = TBLL().ReadInput(sheets, parts, r.eles, r.raws);
    return r;
}

} // namespace

TEST(InputRules, BothListsEmptyReadAsNothing)
{
    TRecordingDialogs dialogs;
    const Read r = ReadBoth(Sheets({}), Parts({}));
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.raws.empty());
    EXPECT_TRUE(r.eles.empty());
    EXPECT_TRUE(dialogs.Infos.isEmpty());
}

TEST(InputRules, RowsBecomeRecords)
{
    TRecordingDialogs dialogs;
    const Read r = ReadBoth(Sheets({{u"优先"_s, u"白玻"_s, u"库存"_s, u"2440"_s, u"1830"_s, u""_s, u"999999"_s, u""_s},
                                    {u"普通"_s, u"超白"_s, u""_s, u"3300"_s, u"2440"_s, u"80.5"_s, u"3"_s, u" 17 "_s}}),
                            Parts({{u"门"_s, u"左"_s, u"300"_s, u"800"_s, u"2"_s, u""_s},
                                   {u"窗"_s, u""_s, u"300"_s, u"800"_s, u"1"_s, u"0"_s},
                                   {u"柜"_s, u""_s, u"500.5"_s, u"400"_s, u"4"_s, u"1"_s}}));
    ASSERT_TRUE(r.ok);
    const TD2RRawArr raws = {{1, "白玻", "-1", "库存", 0, 2440, 1830, 999999, 1},
                             {2, "超白", "17", "", 80.5, 3300, 2440, 3, 0}};
    EXPECT_EQ(r.raws, raws);
    // Without grain 300 x 800 is held as 800 x 300; with the grain tick it stays.
    const TD2REleArr eles = {
        {1, "门", "左", 800, 300, 2, 1}, {2, "窗", "", 300, 800, 1, 0}, {3, "柜", "", 500.5, 400, 4, 1}};
    EXPECT_EQ(r.eles, eles);
}

TEST(InputRules, APartlyFilledRowIsRefusedWithItsNumber)
{
    const struct {
        const char* what;
        TPlainTable sheets;
        TPlainTable parts;
        QString message;
        size_t raws;
        size_t eles; // the rows read before the faulty one stay
    } cases[] = {
        {"sheet row 1 without a count", Sheets({{u""_s, u"A"_s, u""_s, u"2440"_s, u"1830"_s, u""_s, u""_s}}),
         Parts({{u"P"_s, u""_s, u"100"_s, u"100"_s, u"1"_s}}), u"第 1 行有数据错误，请修改！"_s, 0, 0},
        {"part row 2 without a width", Sheets({{u""_s, u"A"_s, u""_s, u"2440"_s, u"1830"_s, u""_s, u"5"_s}}),
         Parts({{u"P"_s, u""_s, u"100"_s, u"100"_s, u"1"_s}, {u"Q"_s, u""_s, u"100"_s, u""_s, u"1"_s}}),
         u"第 2 行有数据错误，请修改！"_s, 1, 1},
    };
    for (const auto& c : cases) {
        TRecordingDialogs dialogs;
        const Read r = ReadBoth(c.sheets, c.parts);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(dialogs.Infos, QStringList{c.message}) << c.what;
        EXPECT_EQ(r.raws.size(), c.raws) << c.what;
        EXPECT_EQ(r.eles.size(), c.eles) << c.what;
    }
}

TEST(InputRules, AnEmptyRowEndsTheList)
{
    TRecordingDialogs dialogs;
    TPlainTable parts = Parts({{u"P"_s, u""_s, u"100"_s, u"100"_s, u"1"_s}});
    parts.SetRow(2, {u"hidden"_s, u""_s, u"200"_s, u"200"_s, u"1"_s});
    parts.SetCell(1, EleCol::Name, u"named but no size"_s);
    const Read r = ReadBoth(Sheets({}), parts);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.eles.size(), 1u);
    EXPECT_TRUE(dialogs.Infos.isEmpty());
}

TEST(InputRules, ARequiredCellThatDoesNotConvertStopsTheCalculation)
{
    TRecordingDialogs dialogs;
    const struct {
        const char* what;
        TPlainTable sheets;
        TPlainTable parts;
        const char* value;
    } cases[] = {
        {"a quantity of 2.5", Sheets({}), Parts({{u"P"_s, u""_s, u"100"_s, u"100"_s, u"2.5"_s}}), "2.5"},
        {"a pasted length", Sheets({{u""_s, u"A"_s, u""_s, u"24x0"_s, u"1830"_s, u""_s, u"5"_s}}), Parts({}), "24x0"},
        {"a price", Sheets({{u""_s, u"A"_s, u""_s, u"2440"_s, u"1830"_s, u"贵"_s, u"5"_s}}), Parts({}), "贵"},
    };
    for (const auto& c : cases) {
        try {
            ReadBoth(c.sheets, c.parts);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const TInputError& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.value))) << c.what << ": " << e.what();
        }
    }
}

TEST(InputRules, EditedCellsThatAreNoNumbersAreEmptied)
{
    TPlainTable sheets = Sheets({{u""_s, u"名字12a"_s, u""_s, u"12a"_s, u" 1830 "_s, u"abc"_s, u"2.5"_s}});
    TBLL::CheckRawRow(sheets, 0);
    EXPECT_EQ(sheets.Cell(0, RawCol::Length), u""_s);
    EXPECT_EQ(sheets.Cell(0, RawCol::Width), u" 1830 "_s);
    EXPECT_EQ(sheets.Cell(0, RawCol::Count), u"2.5"_s); // tested as a number, refused later
    EXPECT_EQ(sheets.Cell(0, RawCol::Price), u"abc"_s); // not one of the three
    EXPECT_EQ(sheets.Cell(0, RawCol::Name), u"名字12a"_s);

    TPlainTable parts = Parts({{u"P"_s, u""_s, u"1e3"_s, u"-"_s, u"x"_s, u"0"_s}});
    TBLL::CheckEleRow(parts, 0);
    EXPECT_EQ(parts.Cell(0, EleCol::Length), u"1e3"_s);
    EXPECT_EQ(parts.Cell(0, EleCol::Width), u""_s);
    EXPECT_EQ(parts.Cell(0, EleCol::Count), u""_s);
    EXPECT_EQ(parts.Cell(0, EleCol::Grain), u"0"_s);
}

TEST(InputRules, WhatCountsAsAChange)
{
    const TD2RRawArr raws = {{1, "白玻", "-1", "", 0, 2440, 1830, 5, 0}};
    TD2RRawArr other = raws;
    other[0].Name = "白玻 ";
    EXPECT_FALSE(TBLL::RawChanged({}, {}));
    EXPECT_FALSE(TBLL::RawChanged(raws, raws));
    EXPECT_TRUE(TBLL::RawChanged(raws, other));
    EXPECT_TRUE(TBLL::RawChanged(raws, {}));
    const TD2REleArr eles = {{1, "Door", "", 800, 300, 2, 1}};
    TD2REleArr case_ = eles;
    case_[0].Name = "door";
    EXPECT_TRUE(TBLL::EleChanged(eles, case_));
    EXPECT_FALSE(TBLL::EleChanged(eles, eles));

    const TD2RPrm base;
    const struct {
        const char* what;
        void (*change)(TD2RPrm&);
        bool changed;
    } fields[] = {
        {"OptTm", [](TD2RPrm& p) { p.OptTm = 90; }, false}, {"BinL", [](TD2RPrm& p) { p.BinL = 1; }, false},
        {"BinW", [](TD2RPrm& p) { p.BinW = 1; }, false},    {"lingyin", [](TD2RPrm& p) { p.lingyin = 1; }, false},
        {"WenLu", [](TD2RPrm& p) { p.WenLu = 1; }, false},  {"wucha", [](TD2RPrm& p) { p.wucha = 2; }, true},
        {"PriCut", [](TD2RPrm& p) { p.PriCut = 1; }, true}, {"Blade", [](TD2RPrm& p) { p.Blade = 0.5; }, true},
        {"EdgB", [](TD2RPrm& p) { p.EdgB = 5; }, true},     {"LayOut", [](TD2RPrm& p) { p.LayOut = 2; }, true},
    };
    for (const auto& f : fields) {
        TD2RPrm p = base;
        f.change(p);
        EXPECT_EQ(TBLL::PrmChanged(base, p), f.changed) << f.what;
    }
}
