#include "UnitD2RectDisp.h"

#include <gtest/gtest.h>

namespace {

TD2RGene Layout(const char* name, const char* dbId, double length, double width, int count)
{
    TD2RGene g;
    g.Name = name;
    g.DbID = dbId;
    g.Length = length;
    g.Width = width;
    g.Count = count;
    return g;
}

TD2REle Part(int no, double length, double width, int count)
{
    TD2REle e;
    e.No = no;
    e.Name = "P" + std::to_string(no);
    e.Length = length;
    e.Width = width;
    e.Count = count;
    return e;
}

TRectEle Placed(int no, double x, double y, double l, double w)
{
    return {0, no, "P" + std::to_string(no), "", x, y, l, w};
}

} // namespace

TEST(Summary, SheetsAreGroupedByNameAndSize)
{
    const TD2RSchame plan = {Layout("浮法白玻", "-1", 2440, 1830, 3), Layout("浮法白玻", "-1", 2440, 1830, 2),
                             Layout("浮法白玻", "-1", 2440, 3660, 1), Layout("超白", "-1", 2440, 1830, 1)};
    const TD2Rslt r = TD2Result::BuildRslt(plan, TD2RPrm{}, {});
    const TUseRawArr expected = {{"浮法白玻", "2440×1830", 5}, {"浮法白玻", "2440×3660", 1}, {"超白", "2440×1830", 1}};
    EXPECT_EQ(r.UseRaws, expected);
    EXPECT_EQ(r.RawCount, 7);
    EXPECT_DOUBLE_EQ(r.RawArea, 2440.0 * 1830 * 6 + 2440.0 * 3660);
}

TEST(Summary, RemnantsAreCountedPerSizeAndStockMaterial)
{
    TD2RGene a = Layout("玻璃", "17", 2440, 1830, 3);
    a.Rects = {{0, 0, 800, 600}, {0, 0, 1000, 99}, {0, 0, 100, 100}, {0, 0, 0, 0}};
    TD2RGene b = Layout("玻璃", "17", 2440, 1830, 2);
    b.Rects = {{5, 5, 800, 600}, {0, 0, 600, 800}};
    TD2RGene c = Layout("玻璃", "-1", 2440, 1830, 1);
    c.Rects = {{0, 0, 800, 600}};
    TD2RPrm prm;
    prm.BinL = 100;
    prm.BinW = 100;
    const TD2Rslt r = TD2Result::BuildRslt({a, b, c}, prm, {});
    const TBinSizeArr expected = {{"17", "玻璃", 800, 600, 5},
                                  {"17", "玻璃", 100, 100, 3},
                                  {"17", "玻璃", 600, 800, 2},
                                  {"-1", "玻璃", 800, 600, 1}};
    EXPECT_EQ(r.Bins, expected);
    // A cleared rectangle is no remnant even when nothing is too small.
    prm.BinL = prm.BinW = 0;
    for (const TBinSize& bin : TD2Result::BuildRslt({a}, prm, {}).Bins)
        EXPECT_GT(bin.Length * bin.Width, 0);
}

TEST(Summary, PartsCutPerLayoutAndPartsLeftUncut)
{
    TD2RGene g = Layout("s", "-1", 2440, 1830, 4);
    g.Eles = {Placed(2, 0, 0, 500, 300), Placed(1, 500, 0, 400, 400), Placed(2, 0, 300, 300, 500),
              Placed(2, 0, 800, 500, 300)};
    g.EleArea = 3 * 500 * 300 + 400 * 400;
    const TD2REleArr parts = {Part(1, 400, 400, 4), Part(2, 500, 300, 20), Part(3, 100, 100, 5)};
    const TD2Rslt r = TD2Result::BuildRslt({g}, TD2RPrm{}, parts);
    ASSERT_EQ(r.EleCuts.size(), 1u);
    const std::vector<TEleCut> cuts = {{2, "P2", 500, 300, 3}, {1, "P1", 400, 400, 1}};
    EXPECT_EQ(r.EleCuts[0], cuts); // sizes as first placed, pieces per sheet
    const TNoCutArr uncut = {{2, "P2", 500, 300, 8}, {3, "P3", 100, 100, 5}};
    EXPECT_EQ(r.NoCuts, uncut); // part 2: 20 - 3 x 4
    EXPECT_DOUBLE_EQ(r.Uti, 4 * g.EleArea / (4 * 2440.0 * 1830));
}

TEST(Summary, TotalsAndPrice)
{
    TD2RGene a = Layout("s", "-1", 2440, 1830, 3);
    a.Price = 50;
    a.EleArea = 4000000;
    TD2RGene b = Layout("s", "-1", 2440, 1830, 2);
    const TD2Rslt r = TD2Result::BuildRslt({a, b}, TD2RPrm{}, {});
    EXPECT_NEAR(r.RawArea / 1e6, 22.326, 1e-9);
    EXPECT_NEAR(r.Price, 3 * 2.44 * 1.83 * 50, 1e-9); // the unpriced sheets add nothing
    EXPECT_DOUBLE_EQ(r.EleArea, 12000000);
}

TEST(Summary, AnEmptyPlanLeavesEveryPartUncut)
{
    const TD2REleArr parts = {Part(1, 400, 400, 4), Part(2, 500, 300, 2)};
    const TD2Rslt r = TD2Result::BuildRslt({}, TD2RPrm{}, parts);
    EXPECT_EQ(r.RawArea, 0);
    EXPECT_EQ(r.Uti, 0);
    EXPECT_TRUE(r.UseRaws.empty());
    EXPECT_TRUE(r.Bins.empty());
    EXPECT_TRUE(r.EleCuts.empty());
    ASSERT_EQ(r.NoCuts.size(), 2u);
    EXPECT_EQ(r.NoCuts[0].Count, 4);
}

TEST(Summary, SizeTextsAreTheShortestNumbers)
{
    EXPECT_EQ(TD2Result::SizeText(2440, 1830), "2440×1830");
    EXPECT_EQ(TD2Result::SizeText(612.5, 0.1 + 0.2), "612.5×0.3");
}
