#include "UnitD2Rect.h"

#include "NumText.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct TD2Search::Plan {
    struct Gene {
        int32_t RawIdx = 0;
        int32_t Count = 0;
        double EleArea = 0;
        double MaxBin = 0;
        std::vector<TD2Place> Eles;
        std::vector<TFreeRect> Rects;
    };
    IntArr Order; // the part order the plan is built with
    uint64_t Seed = 0;
    bool Built = false;
    // Genes[0, GeneCount) are the layouts; the rest keep their capacity for
    // the next generation.
    std::vector<Gene> Genes;
    int GeneCount = 0;
};

struct TD2Search::Worker {
    explicit Worker(const TD2RPrm& prm) : Fill(prm) {}
    TD2SheetFill Fill;
    TD2PartTable Parts;
    IntArr Counts;
    IntArr SheetCounts;
    IntArr Candidates;
    IntArr Multi;
    std::vector<std::pair<int32_t, int32_t>> SheetList; // (Prio, sheet index)
    TD2Random Rng;
};

namespace {

bool Usable(double length, double width)
{
    return length > 0 && width > 0;
}

} // namespace

bool TD2Bests::Take(double uti, int32_t layHigh, double bin, double price, uint8_t priCut)
{
    bool take;
    switch (priCut) {
    case 1:
        take = layHigh < BestLayHigh; // an equal number never replaces the best
        break;
    case 2:
        take = price < BestPrice || (price == BestPrice && uti > BestUti);
        break;
    default:
        take = uti > BestUti || (uti == BestUti && layHigh < BestLayHigh) || (uti == BestUti && bin > BestBin);
        break;
    }
    if (take) {
        BestUti = uti;
        BestLayHigh = layHigh;
        BestBin = bin;
        BestPrice = price;
    }
    return take;
}

TD2Search::TD2Search(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles)
    : Raws(raws), Eles(eles), Prm(SanitizedPrm(prm))
{
    SortRawsByArea(Raws);
    const unsigned hw = std::thread::hardware_concurrency();
    m_threads = int(std::clamp(hw, 1u, 8u));
}

TD2Search::~TD2Search() = default;

void TD2Search::SetSeed(uint64_t seed)
{
    m_seeded = true;
    m_seed = seed;
}

void TD2Search::SetThreadCount(int threads)
{
    m_threads = std::clamp(threads, 1, PlansPerGeneration);
}

void TD2Search::SetProgress(TD2Progress progress)
{
    m_progress = std::move(progress);
}

void TD2Search::SortRawsByArea(TD2RRawArr& raws)
{
    std::stable_sort(raws.begin(), raws.end(),
                     [](const TD2RRaw& a, const TD2RRaw& b) { return a.Length * a.Width > b.Length * b.Width; });
}

std::string TD2Search::ProgressText(double uti, int32_t layouts)
{
    return FixedText(uti * 100, 2) + "%:" + std::to_string(layouts);
}

void TD2Search::OrderEles(IntArr& order, int32_t r) const
{
    auto byKey = [&](auto key) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int32_t a, int32_t b) { return key(Eles[size_t(a)]) > key(Eles[size_t(b)]); });
    };
    switch (r) {
    case 0:
        byKey([](const TD2REle& e) { return e.Length * e.Width; });
        break;
    case 1:
        byKey([](const TD2REle& e) { return e.Length + e.Width; });
        break;
    case 2:
        byKey([](const TD2REle& e) { return e.Length; });
        break;
    case 3:
        byKey([](const TD2REle& e) { return e.Width; });
        break;
    case 4:
        byKey([](const TD2REle& e) { return double(e.Count); });
        break;
    default: // 5 and 6 keep the order
        break;
    }
}

void TD2Search::BuildSchame(Worker& w, Plan& plan) const
{
    const size_t n = plan.Order.size();
    w.Parts.assign(Eles, plan.Order);
    w.Counts.resize(n);
    w.Multi.assign(n, 0);
    w.Candidates.clear();
    for (size_t i = 0; i < n; ++i) {
        w.Counts[i] = Eles[size_t(plan.Order[i])].Count;
        // Parts of no quantity or no size are never cut.
        if (w.Counts[i] > 0 && Usable(w.Parts.Length[i], w.Parts.Width[i]))
            w.Candidates.push_back(int32_t(i));
    }
    w.SheetCounts.resize(Raws.size());
    w.SheetList.clear();
    for (size_t s = 0; s < Raws.size(); ++s) {
        w.SheetCounts[s] = Raws[s].Count;
        w.SheetList.emplace_back(Raws[s].Prio, int32_t(s));
    }
    w.Rng.reseed(plan.Seed);
    plan.GeneCount = 0;

    while (!w.SheetList.empty() && !w.Candidates.empty()) {
        // PickRaw: a preferred sheet while there is one, else any.
        int preferred = 0;
        for (const auto& e : w.SheetList)
            preferred += e.first == 1;
        size_t pos = 0;
        if (preferred > 0) {
            int k = w.Rng.draw(preferred);
            while (w.SheetList[pos].first != 1 || k-- > 0)
                ++pos;
        } else {
            pos = size_t(w.Rng.draw(int32_t(w.SheetList.size())));
        }
        const size_t s = size_t(w.SheetList[pos].second);
        if (w.SheetCounts[s] <= 0) {
            w.SheetList.erase(w.SheetList.begin() + std::ptrdiff_t(pos));
            continue;
        }
        const TD2Layout& lay = w.Fill.BestLayout(w.Parts, w.Counts.data(), w.Candidates.data(),
                                                 int(w.Candidates.size()), Raws[s].Length, Raws[s].Width, w.Rng);
        if (lay.Eles.empty()) {
            w.SheetList.erase(w.SheetList.begin() + std::ptrdiff_t(pos));
            continue;
        }

        // RepeatCount: as often as every part's remaining quantity allows.
        int32_t repeat = 99999999;
        for (const TD2Place& p : lay.Eles)
            ++w.Multi[size_t(p.EleIdx)];
        for (const TD2Place& p : lay.Eles) {
            int32_t& m = w.Multi[size_t(p.EleIdx)];
            if (m > 0) {
                repeat = std::min(repeat, w.Counts[size_t(p.EleIdx)] / m);
                m = 0;
            }
        }
        repeat = std::min(repeat, w.SheetCounts[s]);

        if (size_t(plan.GeneCount) == plan.Genes.size())
            plan.Genes.emplace_back();
        Plan::Gene& g = plan.Genes[size_t(plan.GeneCount++)];
        g.RawIdx = int32_t(s);
        g.Count = repeat;
        g.EleArea = lay.EleArea;
        g.MaxBin = lay.MaxBin;
        g.Eles.assign(lay.Eles.begin(), lay.Eles.end());
        g.Rects.assign(lay.Rects.begin(), lay.Rects.end());

        w.SheetCounts[s] -= repeat;
        if (w.SheetCounts[s] <= 0)
            w.SheetList.erase(w.SheetList.begin() + std::ptrdiff_t(pos));
        for (const TD2Place& p : lay.Eles)
            w.Counts[size_t(p.EleIdx)] -= repeat;
        w.Candidates.clear();
        for (size_t i = 0; i < n; ++i)
            if (w.Counts[i] > 0 && Usable(w.Parts.Length[i], w.Parts.Width[i]))
                w.Candidates.push_back(int32_t(i));
    }
}

void TD2Search::SelectBest(const std::vector<Plan*>& population)
{
    const Plan* taken = nullptr;
    for (const Plan* plan : population) {
        double rawArea = 0;
        double eleArea = 0;
        double price = 0;
        double bin = 0;
        for (int k = 0; k < plan->GeneCount; ++k) {
            const Plan::Gene& g = plan->Genes[size_t(k)];
            const TD2RRaw& r = Raws[size_t(g.RawIdx)];
            rawArea += r.Length * r.Width * g.Count;
            eleArea += g.EleArea * g.Count;
            price += r.Length * r.Width * g.Count * r.Price / 1000000;
            bin += g.MaxBin;
        }
        const double uti = rawArea != 0 ? eleArea / rawArea : 0;
        if (m_bests.Take(uti, plan->GeneCount - 1, bin, price, Prm.PriCut))
            taken = plan;
    }
    if (taken)
        Best = ToSchame(*taken);
}

TD2RSchame TD2Search::ToSchame(const Plan& plan) const
{
    TD2RSchame out;
    out.reserve(size_t(plan.GeneCount));
    for (int k = 0; k < plan.GeneCount; ++k) {
        const Plan::Gene& src = plan.Genes[size_t(k)];
        const TD2RRaw& r = Raws[size_t(src.RawIdx)];
        TD2RGene g;
        g.RawIdx = src.RawIdx;
        g.DbID = r.DbID;
        g.Name = r.Name;
        g.Price = r.Price;
        g.Length = r.Length;
        g.Width = r.Width;
        g.Count = src.Count;
        g.EleArea = src.EleArea;
        g.MaxBin = src.MaxBin;
        g.Rects = src.Rects;
        g.Eles.reserve(src.Eles.size());
        for (const TD2Place& p : src.Eles) {
            const TD2REle& e = Eles[size_t(plan.Order[size_t(p.EleIdx)])];
            g.Eles.push_back({p.EleIdx, e.No, e.Name, e.Demo, p.X, p.Y, p.Length, p.Width});
        }
        out.push_back(std::move(g));
    }
    return out;
}

void TD2Search::RunGeneration(std::vector<Plan>& slots, std::vector<Worker>& workers)
{
    const int planCount = int(slots.size());
    const int threads = int(workers.size());

    if (threads <= 1) {
        for (int i = 0; i < planCount; ++i) {
            if (Stop.load(std::memory_order_relaxed))
                break;
            BuildSchame(workers[0], slots[size_t(i)]);
            slots[size_t(i)].Built = true;
            if (m_progress.PlanBuilt)
                m_progress.PlanBuilt(i + 1);
        }
        return;
    }

    // Workers take plans in index order; this thread reports each finished
    // plan, so that the callbacks never run concurrently.
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0;
    int done = 0;
    int active = threads;
    auto work = [&](Worker& w) {
        for (;;) {
            int i;
            {
                std::lock_guard lock(mutex);
                if (Stop.load(std::memory_order_relaxed) || next >= planCount)
                    break;
                i = next++;
            }
            BuildSchame(w, slots[size_t(i)]);
            std::lock_guard lock(mutex);
            slots[size_t(i)].Built = true;
            ++done;
            changed.notify_one();
        }
        std::lock_guard lock(mutex);
        --active;
        changed.notify_one();
    };
    // jthreads join however this function is left, so no worker outlives the
    // mutex and the plans it uses.
    std::vector<std::jthread> pool;
    pool.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work, std::ref(workers[size_t(t)]));

    int reported = 0;
    for (;;) {
        int target;
        bool finished;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return done > reported || active == 0; });
            target = done;
            finished = active == 0;
        }
        while (reported < target)
            if (m_progress.PlanBuilt)
                m_progress.PlanBuilt(++reported);
            else
                ++reported;
        if (finished)
            break;
    }
}

void TD2Search::Search()
{
    RawHigh = int32_t(Raws.size()) - 1;
    EleHigh = int32_t(Eles.size()) - 1;
    if (RawHigh == -1 || EleHigh == -1)
        return;
    m_bests = TD2Bests{};
    Best.clear();

    TD2Random master(m_seeded ? m_seed
                              : uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    m_order.resize(Eles.size());
    for (size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = int32_t(i);

    std::vector<Plan> slots(PlansPerGeneration);
    std::vector<Plan*> population;
    std::vector<Worker> workers;
    workers.reserve(size_t(m_threads));
    for (int t = 0; t < m_threads; ++t)
        workers.emplace_back(Prm);
    for (int32_t gen = 0; gen < Prm.OptTm; ++gen) {
        if (Stop.load(std::memory_order_relaxed))
            break;
        // The part order of every plan follows from the one before it, and
        // every plan gets its own generator from the run's generator: a plan
        // is then the same whichever thread builds it.
        for (Plan& plan : slots) {
            OrderEles(m_order, master.draw(7));
            plan.Order = m_order;
            plan.Seed = master.next64();
            plan.Built = false;
        }
        RunGeneration(slots, workers);
        population.clear();
        for (Plan& plan : slots)
            if (plan.Built && plan.GeneCount > 0)
                population.push_back(&plan);
        SelectBest(population);
        if (m_progress.GenerationDone)
            m_progress.GenerationDone(ProgressText(m_bests.BestUti, m_bests.BestLayHigh + 1));
    }
    if (Prm.PriCut == 0)
        ShrinkSheets(Best, Raws, Prm);
}

void TD2Search::ShrinkSheets(TD2RSchame& plan, const TD2RRawArr& raws, const TD2RPrm& prm)
{
    std::vector<int64_t> avail(raws.size());
    for (size_t s = 0; s < raws.size(); ++s)
        avail[s] = raws[s].Count;
    for (const TD2RGene& g : plan)
        if (g.RawIdx >= 0 && size_t(g.RawIdx) < raws.size())
            avail[size_t(g.RawIdx)] -= g.Count;

    for (size_t s = 0; s < raws.size(); ++s) {
        const TD2RRaw& r = raws[s];
        const size_t layouts = plan.size();
        for (size_t li = 0; li < layouts; ++li) {
            if (avail[s] <= 0)
                break;
            if (plan[li].RawIdx == int32_t(s))
                continue;
            double needL = 0;
            double needW = 0;
            for (const TRectEle& e : plan[li].Eles) {
                needL = std::max(needL, e.X + e.Length);
                needW = std::max(needW, e.Y + e.Width);
            }
            needL += prm.EdgR;
            needW += prm.EdgB;
            if (!(r.Length <= plan[li].Length && r.Width <= plan[li].Width && r.Length >= needL && r.Width >= needW))
                continue;
            if (avail[s] >= plan[li].Count) {
                avail[s] -= plan[li].Count;
            } else {
                TD2RGene rest = plan[li];
                rest.Count = plan[li].Count - int32_t(avail[s]);
                plan[li].Count = int32_t(avail[s]);
                avail[s] = 0;
                plan.push_back(std::move(rest));
            }
            TD2RGene& g = plan[li];
            g.RawIdx = int32_t(s);
            g.DbID = r.DbID;
            g.Name = r.Name;
            g.Price = r.Price;
            g.Length = r.Length;
            g.Width = r.Width;
            // Leftovers end where the new sheet's trims begin: the trimmed edge
            // is no glass a remnant can be cut from.
            const double maxX = g.Length - prm.EdgR;
            const double maxY = g.Width - prm.EdgB;
            for (TFreeRect& rc : g.Rects) {
                if (rc.X >= maxX || rc.Y > maxY) {
                    rc = TFreeRect{};
                    continue;
                }
                if (rc.X + rc.Length > maxX)
                    rc.Length = maxX - rc.X;
                if (rc.Y + rc.Width > maxY)
                    rc.Width = maxY - rc.Y;
            }
        }
    }
}
