#include "PlanCheck.h"
#include "UnitD2Rect.h"
#include "UnitD2RectDisp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TD2RRaw Sheet(int no, const char* name, double length, double width, int count, int prio = 0)
{
    TD2RRaw s;
    s.No = no;
    s.Name = name;
    s.Length = length;
    s.Width = width;
    s.Count = count;
    s.Prio = prio;
    return s;
}

TD2REle Part(int no, double length, double width, int count, int noGrain = 1)
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

TD2REleArr SomeParts()
{
    return {Part(1, 800, 600, 7), Part(2, 1200, 450, 5), Part(3, 500, 500, 9), Part(4, 700, 300, 12, 0),
            Part(5, 2000, 900, 2)};
}

} // namespace

TEST(Search, SheetsAreSortedByAreaLargestFirstAndStable)
{
    TD2RRawArr raws = {Sheet(1, "a", 1000, 1000, 1), Sheet(2, "b", 2000, 1000, 1), Sheet(3, "c", 500, 2000, 1),
                       Sheet(4, "d", 3000, 3000, 1)};
    TD2Search::SortRawsByArea(raws);
    std::string order;
    for (const TD2RRaw& r : raws)
        order += r.Name;
    EXPECT_EQ(order, "dbac");
}

TEST(Search, ProgressTextHasTwoDecimalsAndTheLayoutCount)
{
    EXPECT_EQ(TD2Search::ProgressText(0.87534, 4), "87.53%:4");
    EXPECT_EQ(TD2Search::ProgressText(1, 1), "100.00%:1");
    EXPECT_EQ(TD2Search::ProgressText(0, 10000000), "0.00%:10000000");
}

TEST(Search, TheBestPlanIsJudgedByThePriority)
{
    struct Plan {
        double uti;
        int32_t layouts;
        double bin;
        double price;
        bool taken;
    };
    const struct {
        const char* what;
        uint8_t priCut;
        std::vector<Plan> plans;
    } cases[] = {
        {"fewest layouts: the first of two equal counts wins, better yield or not",
         1,
         {{0.80, 4, 0, 0, true}, {0.70, 3, 0, 0, true}, {0.95, 3, 0, 0, false}, {0.99, 5, 0, 0, false}}},
        {"utilisation: equal yield with fewer layouts, or a larger leftover sum",
         0,
         {{0.80, 4, 10, 0, true},
          {0.80, 3, 5, 0, true},
          {0.80, 3, 5, 0, false},
          {0.80, 5, 6, 0, true},
          {0.79, 1, 99, 0, false},
          {0.81, 9, 0, 0, true}}},
        {"price: all free, the first on cost, the rest only on better yield",
         2,
         {{0.70, 3, 0, 0, true}, {0.70, 2, 0, 0, false}, {0.75, 5, 0, 0, true}, {0.74, 1, 0, 0, false}}},
        {"price: a plan costing more than the starting best never becomes the best",
         2,
         {{0.9, 1, 0, 100000000, false}, {0.9, 1, 0, 1e9, false}, {0.5, 2, 0, 99999998, true}}},
    };
    for (const auto& c : cases) {
        TD2Bests bests;
        for (size_t i = 0; i < c.plans.size(); ++i) {
            const Plan& p = c.plans[i];
            EXPECT_EQ(bests.Take(p.uti, p.layouts - 1, p.bin, p.price, c.priCut), p.taken) << c.what << ", plan " << i;
        }
    }
}

TEST(Search, PreferredSheetsAreUsedFirst)
{
    // Two sheet types of the same size: the preferred one must be used up.
    const TD2RRawArr raws = {Sheet(1, "normal", 2440, 1830, 100, 0), Sheet(2, "preferred", 2440, 1830, 2, 1)};
    TD2RPrm prm;
    prm.OptTm = 2;
    prm.PriCut = 1;
    TD2Search search(raws, prm, SomeParts());
    search.SetSeed(7);
    search.Search();
    int preferred = 0;
    for (const TD2RGene& g : search.GetBest())
        if (g.Name == "preferred")
            preferred += g.Count;
    EXPECT_EQ(preferred, 2);
}

TEST(Search, APartTooLargeForEverySheetIsLeftUncutAndTheRestIsPlanned)
{
    TD2REleArr parts = SomeParts();
    parts.push_back(Part(6, 5000, 100, 2));
    const TD2RRawArr raws = {Sheet(1, "s", 2440, 1830, 50)};
    TD2RPrm prm;
    prm.OptTm = 1;
    TD2Search search(raws, prm, parts);
    search.SetSeed(3);
    search.Search();
    const TD2Rslt r = TD2Result::BuildRslt(search.GetBest(), prm, parts);
    ASSERT_EQ(r.NoCuts.size(), 1u);
    EXPECT_EQ(r.NoCuts[0].No, 6);
    EXPECT_EQ(r.NoCuts[0].Count, 2);
    EXPECT_EQ(CheckPlan(search.GetBest(), raws, parts, prm), "");
}

TEST(Search, NothingToPlanGivesAnEmptyPlan)
{
    const struct {
        const char* what;
        TD2RRawArr raws;
        TD2REleArr parts;
    } cases[] = {
        {"no sheets", {}, SomeParts()},
        {"no parts", {Sheet(1, "s", 2440, 1830, 5)}, {}},
        {"nothing fits", {Sheet(1, "s", 300, 300, 5)}, SomeParts()},
        {"no sheets left", {Sheet(1, "s", 2440, 1830, 0)}, SomeParts()},
        {"nothing wanted", {Sheet(1, "s", 2440, 1830, 5)}, {Part(1, 100, 100, 0), Part(2, 100, 100, -3)}},
    };
    for (const auto& c : cases) {
        TD2RPrm prm;
        prm.OptTm = 2;
        TD2Search search(c.raws, prm, c.parts);
        search.SetSeed(1);
        search.Search();
        EXPECT_TRUE(search.GetBest().empty()) << c.what;
    }
}

TEST(Search, ProgressComesAfterEveryPlanAndEveryGeneration)
{
    for (int threads : {1, 2}) {
        TD2RPrm prm;
        prm.OptTm = 3;
        TD2Search search({Sheet(1, "s", 2440, 1830, 50)}, prm, SomeParts());
        search.SetSeed(5);
        search.SetThreadCount(threads);
        std::vector<int> plans;
        std::vector<std::string> texts;
        const auto caller = std::this_thread::get_id();
        bool sameThread = true;
        search.SetProgress({[&](int i) {
                                plans.push_back(i);
                                sameThread = sameThread && std::this_thread::get_id() == caller;
                            },
                            [&](const std::string& t) { texts.push_back(t); }});
        search.Search();
        ASSERT_EQ(plans.size(), 90u);
        for (size_t k = 0; k < plans.size(); ++k)
            EXPECT_EQ(plans[k], int(k % 30) + 1);
        EXPECT_TRUE(sameThread) << "callbacks on the searching thread";
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts.back(), TD2Search::ProgressText(search.GetBestUti(), search.GetBestLayouts()));
    }
}

TEST(Search, AStopFinishesThePlanUnderWayJudgesTheGenerationAndEnds)
{
    TD2RPrm prm;
    prm.OptTm = 10;
    TD2Search search({Sheet(1, "s", 2440, 1830, 50)}, prm, SomeParts());
    search.SetSeed(9);
    search.SetThreadCount(1);
    int plans = 0;
    int generations = 0;
    search.SetProgress({[&](int i) {
                            plans = i;
                            if (i == 3)
                                search.RequestStop();
                        },
                        [&](const std::string&) { ++generations; }});
    search.Search();
    EXPECT_EQ(plans, 3);
    EXPECT_EQ(generations, 1);
    EXPECT_FALSE(search.GetBest().empty());

    TD2Search early({Sheet(1, "s", 2440, 1830, 50)}, prm, SomeParts());
    early.RequestStop(); // before the run starts: nothing is built
    early.Search();
    EXPECT_TRUE(early.GetBest().empty());
}

TEST(Search, AStopFromAnotherThreadEndsALongRun)
{
    TD2REleArr parts;
    for (int i = 1; i <= 60; ++i)
        parts.push_back(Part(i, 100.0 + 13 * (i % 17), 80.0 + 7 * (i % 11), 10));
    TD2RPrm prm;
    prm.OptTm = 100000;
    TD2Search search({Sheet(1, "s", 2440, 1830, 1000)}, prm, parts);
    std::atomic<int> generations{0};
    search.SetProgress({nullptr, [&](const std::string&) { ++generations; }});
    std::thread runner([&] { search.Search(); });
    while (generations.load() < 2)
        std::this_thread::yield();
    search.RequestStop();
    runner.join();
    EXPECT_LT(generations.load(), 100000);
    EXPECT_FALSE(search.GetBest().empty());
}

TEST(Search, ShrinkSheetsMovesALayoutOntoASmallerSheetItFits)
{
    // A layout used 5 times on 3000 x 2000 needing 2400 x 1700 with trims; two
    // unused 2500 x 1800 sheets take two of them.
    TD2RRawArr raws = {Sheet(1, "big", 3000, 2000, 10), Sheet(2, "small", 2500, 1800, 2)};
    TD2Search::SortRawsByArea(raws);
    TD2RPrm prm;
    prm.EdgR = 10;
    prm.EdgB = 10;
    TD2RGene g;
    g.RawIdx = 0;
    g.Name = "big";
    g.DbID = "-1";
    g.Length = 3000;
    g.Width = 2000;
    g.Count = 5;
    g.Eles = {{0, 1, "P1", "", 0, 0, 2390, 1690}};
    g.Rects = {
        {0, 1690, 3000, 310}, {2390, 0, 610, 1690}, {2600, 1900, 50, 50}, {2492, 0, 300, 100}, {0, 1790, 100, 50}};
    g.EleArea = 2390 * 1690;
    TD2RSchame plan = {g};
    TD2Search::ShrinkSheets(plan, raws, prm);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].Name, "small");
    EXPECT_EQ(plan[0].RawIdx, 1);
    EXPECT_EQ(plan[0].Count, 2);
    EXPECT_EQ(plan[0].Length, 2500);
    // Cut back to the trimmed edge (2490 x 1790); a rectangle starting at the
    // bottom edge keeps its place with no width left.
    const TRectArr cut = {{0, 1690, 2490, 100}, {2390, 0, 100, 1690}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 1790, 100, 0}};
    EXPECT_EQ(plan[0].Rects, cut);
    EXPECT_EQ(plan[1].Name, "big");
    EXPECT_EQ(plan[1].Count, 3);
    EXPECT_EQ(plan[1].Rects, g.Rects);
    EXPECT_EQ(plan[1].Eles, g.Eles);

    // Enough small sheets: the whole layout moves, no copy.
    raws[1].Count = 9;
    TD2RSchame whole = {g};
    TD2Search::ShrinkSheets(whole, raws, prm);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].Count, 5);
    EXPECT_EQ(whole[0].Name, "small");

    // Needs more than the small sheet offers: stays.
    TD2RSchame stays = {g};
    stays[0].Eles[0].Length = 2495;
    TD2Search::ShrinkSheets(stays, raws, prm);
    EXPECT_EQ(stays[0].Name, "big");
}
