#include "D2Fill.h"
#include "PlanCheck.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TD2RRaw Sheet(double length, double width)
{
    TD2RRaw s;
    s.No = 1;
    s.Name = "sheet";
    s.Length = length;
    s.Width = width;
    s.Count = 10;
    return s;
}

TD2REle Part(int no, double length, double width, int count, int noGrain)
{
    TD2REle e;
    e.No = no;
    e.Name = "P" + std::to_string(no);
    e.Length = length;
    e.Width = width;
    e.Count = count;
    e.NoGrain = noGrain;
    return e;
}

IntArr AllOf(const TD2REleArr& parts)
{
    IntArr c;
    for (size_t i = 0; i < parts.size(); ++i)
        c.push_back(int32_t(i));
    return c;
}

TD2RGene Fill(const TD2REleArr& parts, const TD2RRaw& sheet, const TD2RPrm& prm, uint64_t seed = 1)
{
    TD2Random rng(seed);
    return BestLayoutFor(parts, AllOf(parts), sheet, prm, rng);
}

} // namespace

TEST(SheetFill, APartOfExactlyTheTrimmedSizeLeavesNothing)
{
    TD2RPrm prm;
    prm.EdgL = 10;
    prm.EdgR = 20;
    prm.EdgT = 5;
    prm.EdgB = 15;
    prm.Blade = 4;
    for (int noGrain : {0, 1}) {
        const TD2RGene g = Fill({Part(1, 970, 780, 1, noGrain)}, Sheet(1000, 800), prm);
        ASSERT_EQ(g.Eles.size(), 1u);
        EXPECT_EQ(g.Eles[0].X, 10);
        EXPECT_EQ(g.Eles[0].Y, 5);
        EXPECT_EQ(g.Eles[0].Length, 970);
        EXPECT_TRUE(g.Rects.empty());
        EXPECT_EQ(g.MaxBin, 0);
        EXPECT_EQ(g.EleArea, 970.0 * 780.0);
    }
}

TEST(SheetFill, TheKerfSitsBetweenPartsAndAStripNoWiderThanItVanishes)
{
    TD2RPrm prm;
    prm.Blade = 4;
    // 498 + 4 + 498 fill a length of 1000 exactly, whichever way the cut goes.
    for (uint64_t seed = 1; seed <= 5; ++seed) {
        const TD2RGene g = Fill({Part(1, 498, 500, 2, 0)}, Sheet(1000, 500), prm, seed);
        ASSERT_EQ(g.Eles.size(), 2u);
        EXPECT_EQ(g.Eles[0].X, 0);
        EXPECT_EQ(g.Eles[1].X, 502);
        EXPECT_TRUE(g.Rects.empty());
    }
    // The rest beside a 996 part: 1000 - 996 - 4 = 0 vanishes, 1000 - 995 - 4 = 1 stays.
    const struct {
        double length;
        size_t rects;
    } rests[] = {{998, 0}, {996, 0}, {995, 1}};
    for (const auto& r : rests) {
        const TD2RGene g = Fill({Part(1, r.length, 500, 1, 0)}, Sheet(1000, 500), prm);
        EXPECT_EQ(g.Rects.size(), r.rects) << r.length;
    }
}

TEST(SheetFill, ToleranceLetsOnlyPartsWithoutGrainIntoASmallerSpace)
{
    TD2RPrm prm;
    prm.wucha = 2;
    const TD2RGene free = Fill({Part(1, 1001, 500, 1, 1)}, Sheet(1000, 600), prm);
    ASSERT_EQ(free.Eles.size(), 1u);
    EXPECT_EQ(free.Eles[0].Length, 1001); // straight, overhanging by 1

    const TD2RGene grain = Fill({Part(1, 1001, 500, 1, 0)}, Sheet(1000, 600), prm);
    EXPECT_TRUE(grain.Eles.empty());
    // The attempt keeps its leftover: the whole sheet, which the caller discards.
    ASSERT_EQ(grain.Rects.size(), 1u);
    EXPECT_EQ(grain.MaxBin, 600000);
}

TEST(SheetFill, AGrainPartThatFitsOnlyTurnedIsNeverPlaced)
{
    TD2RPrm prm;
    const TD2RGene g = Fill({Part(1, 700, 900, 3, 0)}, Sheet(1000, 800), prm);
    EXPECT_TRUE(g.Eles.empty());
    // Without grain (held as 900 x 700) it goes in turned or straight: straight fits.
    const TD2RGene turned = Fill({Part(1, 900, 700, 1, 1)}, Sheet(1000, 800), prm);
    ASSERT_EQ(turned.Eles.size(), 1u);
    EXPECT_EQ(turned.Eles[0].Length, 900);
    const TD2RGene across = Fill({Part(1, 900, 700, 1, 1)}, Sheet(800, 1000), prm);
    ASSERT_EQ(across.Eles.size(), 1u);
    EXPECT_EQ(across.Eles[0].Length, 700);
    EXPECT_EQ(across.Eles[0].Width, 900);
}

TEST(SheetFill, OverhangsUnderToleranceDoNotAddUpAlongAColumn)
{
    // A 1004 part may overhang a 1000 space by 4; the column below it is
    // still only 1000 long, so a 1008 part (which would overhang by 8) never
    // finds room, and nothing reaches beyond the trimmed sheet by more than 5.
    TD2RPrm prm;
    prm.wucha = 5;
    prm.LayOut = 2;
    const TD2REleArr parts = {Part(1, 1004, 100, 1, 1), Part(2, 1008, 100, 1, 1)};
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        const TD2RGene g = Fill(parts, Sheet(1000, 600), prm, seed);
        ASSERT_EQ(g.Eles.size(), 1u);
        EXPECT_EQ(g.Eles[0].No, 1);
        EXPECT_EQ(CheckLayout(g, prm), "");
    }
    prm.LayOut = 1; // the same along a strip: both parts go in turned only
    const TD2REleArr strip = {Part(1, 604, 100, 1, 1), Part(2, 608, 100, 1, 1)};
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        const TD2RGene g = Fill(strip, Sheet(300, 600), prm, seed);
        ASSERT_EQ(g.Eles.size(), 1u);
        EXPECT_EQ(g.Eles[0].Width, 604);
        EXPECT_EQ(CheckLayout(g, prm), "");
    }
}

TEST(SheetFill, LayoutStyleAndFirstCutDecideTheCutNextToTheFirstPart)
{
    TD2REleArr parts;
    for (int i = 1; i <= 6; ++i)
        parts.push_back(Part(i, 150.0 + 37 * i, 90.0 + 23 * i, 3, 1));
    // Is there an edge-to-edge cut along the first part's bottom (horizontal)
    // or right edge (vertical) with the kerf before the next pieces?
    auto cutBelowFirst = [](const TD2RGene& g, double k, bool horizontal) {
        const TRectEle& f = g.Eles.front();
        const double line = horizontal ? f.Y + f.Width : f.X + f.Length;
        for (const TRectEle& p : g.Eles) {
            const double s = horizontal ? p.Y : p.X;
            const double e = horizontal ? p.Y + p.Width : p.X + p.Length;
            if (!(e <= line || s >= line + k))
                return false;
        }
        return true;
    };
    const struct {
        uint8_t layOut, firCut;
        bool horizontal;
    } cases[] = {{1, 0, true}, {1, 2, true}, {2, 0, false}, {2, 1, false}, {0, 1, true}, {0, 2, false}};
    for (const auto& c : cases) {
        TD2RPrm prm;
        prm.Blade = 3;
        prm.LayOut = c.layOut;
        prm.FirCut = c.firCut;
        for (uint64_t seed = 1; seed <= 10; ++seed) {
            const TD2RGene g = Fill(parts, Sheet(1200, 900), prm, seed);
            ASSERT_FALSE(g.Eles.empty());
            EXPECT_TRUE(cutBelowFirst(g, 3, c.horizontal))
                << "LayOut " << int(c.layOut) << " FirCut " << int(c.firCut) << " seed " << seed;
            EXPECT_EQ(CheckLayout(g, prm), "");
        }
    }
}

// Whether the layout falls apart into full-length strips (horizontal) or
// full-width columns: the part at the top (left) of what is left sets the
// band, every part reaching into the band lies inside it, the rest starts
// beyond the kerf.
static bool Bands(TD2REleLay parts, double kerf, bool horizontal)
{
    auto start = [&](const TRectEle& p) { return horizontal ? p.Y : p.X; };
    auto size = [&](const TRectEle& p) { return horizontal ? p.Width : p.Length; };
    while (!parts.empty()) {
        const auto first = std::min_element(parts.begin(), parts.end(),
                                            [&](const TRectEle& a, const TRectEle& b) { return start(a) < start(b); });
        const double top = start(*first);
        const double bottom = top + size(*first);
        TD2REleLay rest;
        for (const TRectEle& p : parts) {
            if (start(p) + size(p) <= bottom)
                continue;
            if (start(p) < bottom + kerf)
                return false;
            rest.push_back(p);
        }
        parts = std::move(rest);
    }
    return true;
}

TEST(SheetFill, LayoutStyleCutsTheSheetIntoStripsOrColumns)
{
    // Mixed heights, so that strips and columns look different.
    const TD2REleArr parts = {Part(1, 300, 200, 6, 0), Part(2, 260, 150, 6, 0), Part(3, 180, 90, 8, 0)};
    int horizontalOfColumns = 0;
    for (uint64_t seed = 1; seed <= 10; ++seed) {
        for (uint8_t layOut : {1, 2}) {
            TD2RPrm prm;
            prm.Blade = 5;
            prm.LayOut = layOut;
            const TD2RGene g = Fill(parts, Sheet(1000, 700), prm, seed);
            EXPECT_TRUE(Bands(g.Eles, 5, layOut == 1)) << "LayOut " << int(layOut) << " seed " << seed;
            if (layOut == 2)
                horizontalOfColumns += Bands(g.Eles, 5, true);
        }
    }
    EXPECT_LT(horizontalOfColumns, 10) << "columns read as strips: the check shows nothing";
}

TEST(SheetFill, ALongRowOfSmallPartsDoesNotExhaustTheStack)
{
    TD2RPrm prm;
    prm.LayOut = 1;
    const TD2RGene g = Fill({Part(1, 1, 100, 200000, 0)}, Sheet(200000, 100), prm);
    EXPECT_EQ(g.Eles.size(), 200000u);
}

TEST(SheetFill, TrimsThatEatTheSheetLeaveAnEmptyLayout)
{
    TD2RPrm prm;
    prm.EdgL = 600;
    prm.EdgR = 400;
    const TD2RGene g = Fill({Part(1, 10, 10, 1, 1)}, Sheet(1000, 500), prm);
    EXPECT_TRUE(g.Eles.empty());
    EXPECT_TRUE(g.Rects.empty());
}
