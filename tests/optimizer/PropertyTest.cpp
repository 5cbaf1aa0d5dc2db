// Plans checked over many random jobs: sound whatever the input, the same for
// a seed whatever the number of threads, and the same as the plain reference
// implementation of the search.

#include "NaiveD2Rect.h"
#include "PlanCheck.h"
#include "UnitD2Rect.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Job {
    TD2RRawArr Raws;
    TD2REleArr Eles;
    TD2RPrm Prm;
};

Job RandomJob(uint32_t seed, bool withTolerance)
{
    std::mt19937 gen(seed);
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    Job job;
    const int sheetTypes = uni(1, 3);
    for (int s = 0; s < sheetTypes; ++s) {
        TD2RRaw r;
        r.No = s + 1;
        r.Name = "S" + std::to_string(s + 1);
        r.Length = uni(800, 3300);
        r.Width = uni(600, 2500);
        r.Count = uni(0, 8) == 0 ? 0 : uni(1, 30);
        r.Prio = uni(0, 3) == 0;
        r.Price = uni(0, 2) * 35.5;
        r.DbID = uni(0, 1) ? "-1" : std::to_string(uni(1, 99));
        job.Raws.push_back(r);
    }
    const int partTypes = uni(1, 25);
    for (int p = 0; p < partTypes; ++p) {
        TD2REle e;
        e.No = p + 1;
        e.Name = "P" + std::to_string(p + 1);
        e.Length = uni(40, 2600) + (uni(0, 3) == 0 ? 0.5 : 0.0);
        e.Width = uni(40, 1600);
        e.Count = uni(0, 12);
        e.NoGrain = uni(0, 2) != 0;
        job.Eles.push_back(e);
    }
    NormalizeGrain(job.Eles);
    job.Prm.OptTm = uni(1, 2);
    job.Prm.Blade = std::vector<double>{0, 3, 4.5, 10}[size_t(uni(0, 3))];
    job.Prm.PriCut = uint8_t(uni(0, 2));
    job.Prm.FirCut = uint8_t(uni(0, 2));
    job.Prm.LayOut = uint8_t(uni(0, 2));
    job.Prm.EdgL = uni(0, 20);
    job.Prm.EdgR = uni(0, 20);
    job.Prm.EdgT = uni(0, 20);
    job.Prm.EdgB = uni(0, 20);
    job.Prm.wucha = withTolerance ? uni(1, 6) : 0;
    return job;
}

TD2RSchame Plan(const Job& job, uint64_t seed, int threads)
{
    TD2Search search(job.Raws, job.Prm, job.Eles);
    search.SetSeed(seed);
    search.SetThreadCount(threads);
    search.Search();
    return search.GetBest();
}

} // namespace

TEST(PlanProperties, EveryPlanIsSound)
{
    for (uint32_t seed = 1; seed <= 150; ++seed) {
        for (bool tolerance : {false, true}) {
            const Job job = RandomJob(seed, tolerance);
            const TD2RSchame plan = Plan(job, seed, 2);
            const std::string problem = CheckPlan(plan, job.Raws, job.Eles, job.Prm);
            EXPECT_EQ(problem, "") << "job " << seed << (tolerance ? " with tolerance" : "");
        }
    }
}

TEST(PlanProperties, PlansMovedOntoSmallerSheetsStaySound)
{
    int moved = 0;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        Job job = RandomJob(seed, false);
        job.Prm.PriCut = 0;
        job.Raws = {{1, "big", "-1", "", 0, 2440, 1830, 60, 0},
                    {2, "mid", "5", "", 0, 2200, 1650, 4, 0},
                    {3, "small", "-1", "", 0, 1830, 1220, 4, 0}};
        const TD2RSchame plan = Plan(job, seed, 2);
        EXPECT_EQ(CheckPlan(plan, job.Raws, job.Eles, job.Prm), "") << "job " << seed;
        for (const TD2RGene& g : plan)
            moved += g.Name != "big";
    }
    EXPECT_GT(moved, 0) << "no layout was ever moved: the test shows nothing";
}

TEST(PlanProperties, ASeedGivesTheSamePlanWhateverTheThreads)
{
    for (uint32_t seed = 200; seed < 215; ++seed) {
        const Job job = RandomJob(seed, seed % 2);
        const TD2RSchame one = Plan(job, seed, 1);
        EXPECT_EQ(Plan(job, seed, 2), one) << "job " << seed;
        EXPECT_EQ(Plan(job, seed, 5), one) << "job " << seed;
    }
}

TEST(PlanProperties, TheSearchGivesThePlanOfThePlainImplementation)
{
    for (uint32_t seed = 300; seed < 340; ++seed) {
        const Job job = RandomJob(seed, seed % 3 == 0);
        TNaiveSearch naive(job.Raws, job.Prm, job.Eles, seed);
        naive.Search();
        const TD2RSchame fast = Plan(job, seed, 2);
        EXPECT_EQ(fast, naive.GetBest()) << "job " << seed;
    }
}
