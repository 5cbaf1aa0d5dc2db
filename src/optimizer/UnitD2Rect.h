#pragma once

// The search for a cutting plan: OptTm generations of 30 plans, each plan
// built by taking sheets one at a time (preferred sheets first) and filling
// every sheet with the best of 20 random guillotine fills; the best plan by
// the chosen priority is kept across generations.
//
// Standard C++ only, callable from any thread. The desktop program runs it on
// its worker thread; the progress callbacks are called on the thread that
// called Search(), in the order the plans complete.

#include "D2Fill.h"
#include "D2Random.h"
#include "D2Records.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

struct TD2Progress {
    // Plan i (1 to 30) of the current generation is built, also when empty.
    std::function<void(int)> PlanBuilt;
    // A generation is done; the text reads like 87.53%:4.
    std::function<void(const std::string&)> GenerationDone;
};

// The bests of a run and the rule by which a plan replaces them. Comparisons
// are exact; the bests carry over from generation to generation.
struct TD2Bests {
    double BestUti = 0;
    double BestBin = 0;            // sum of the layouts' largest leftovers
    int32_t BestLayHigh = 9999999; // layouts - 1
    double BestPrice = 99999999;

    // True when a plan of these measures is taken under the priority (0
    // utilisation, 1 fewest layouts, 2 lowest price); all four bests are then
    // the plan's, whatever the priority.
    bool Take(double uti, int32_t layHigh, double bin, double price, uint8_t priCut);
};

class TD2Search final {
public:
    static constexpr int PlansPerGeneration = 30;

    // Copies the arrays and the parameters and sorts the sheets by area.
    TD2Search(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles);
    ~TD2Search();
    TD2Search(const TD2Search&) = delete;
    TD2Search& operator=(const TD2Search&) = delete;

    // Without a seed the run is seeded from the clock.
    void SetSeed(uint64_t seed);
    // Plans of a generation are built on this many threads (at least 1); the
    // plan of a given seed does not depend on it.
    void SetThreadCount(int threads);
    void SetProgress(TD2Progress progress);

    // Runs every generation, then moves layouts onto smaller sheets when the
    // priority is utilisation. Best holds the result.
    void Search();

    // Safe from any thread: the plan under construction is finished, the
    // generation is judged and the search ends.
    void RequestStop() { Stop.store(1, std::memory_order_relaxed); }

    const TD2RSchame& GetBest() const { return Best; }
    double GetBestUti() const { return m_bests.BestUti; }
    int32_t GetBestLayouts() const { return m_bests.BestLayHigh + 1; }
    const TD2RRawArr& GetRaws() const { return Raws; }

    static void SortRawsByArea(TD2RRawArr& raws);
    // "87.53%:4"
    static std::string ProgressText(double uti, int32_t layouts);
    // Moves layouts of a plan onto smaller sheet types where they fit.
    static void ShrinkSheets(TD2RSchame& plan, const TD2RRawArr& raws, const TD2RPrm& prm);

    struct Plan; // a plan as the workers build it, without texts

private:
    struct Worker;

    void OrderEles(IntArr& order, int32_t r) const;
    void BuildSchame(Worker& w, Plan& plan) const;
    void SelectBest(const std::vector<Plan*>& population);
    TD2RSchame ToSchame(const Plan& plan) const;
    void RunGeneration(std::vector<Plan>& slots, std::vector<Worker>& workers);

    TD2RRawArr Raws;
    TD2REleArr Eles; // input order; the search's current order is m_order
    TD2RPrm Prm;
    int32_t RawHigh = -1;
    int32_t EleHigh = -1;
    std::atomic<uint8_t> Stop{0};
    TD2RSchame Best;
    TD2Bests m_bests;

    IntArr m_order;
    bool m_seeded = false;
    uint64_t m_seed = 0;
    int m_threads = 1;
    TD2Progress m_progress;
};
