#include "NaiveD2Rect.h"

#include "UnitD2Rect.h"

#include <algorithm>

TNaiveSearch::TNaiveSearch(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles, uint64_t seed)
    : Raws(raws), Eles(eles), Prm(SanitizedPrm(prm)), m_seed(seed)
{
    TD2Search::SortRawsByArea(Raws);
}

bool TNaiveSearch::Fits(const TD2REle& e, const TFreeRect& r)
{
    const double t = Prm.wucha;
    if (e.NoGrain != 1)
        return e.Length <= r.Length && e.Width <= r.Width;
    return (e.Length - t <= r.Length && e.Width - t <= r.Width) || (e.Width - t <= r.Length && e.Length - t <= r.Width);
}

bool TNaiveSearch::Orient(const TD2REle& e, const TFreeRect& r)
{
    const double t = Prm.wucha;
    if (e.NoGrain != 1)
        return false;
    const bool straight = e.Length - t <= r.Length && e.Width - t <= r.Width;
    const bool across = e.Width - t <= r.Length && e.Length - t <= r.Width;
    if (straight && across) {
        if (e.Length == r.Length || e.Width == r.Width)
            return false;
        if (e.Width == r.Length || e.Length == r.Width)
            return true;
        return m_rng.draw(2) == 1;
    }
    return across;
}

TNaiveSearch::Pick TNaiveSearch::PickEle(const TFreeRect& r, const TD2REleArr& parts, const IntArr& candidates)
{
    Pick pick;
    const int32_t draw = m_rng.draw(10);
    std::vector<Pick> fitting;
    for (size_t p = 0; p < candidates.size(); ++p) {
        if (Fits(parts[size_t(candidates[p])], r)) {
            fitting.push_back({candidates[p], int(p), false});
            if (draw != 0)
                break; // first fit
        }
    }
    if (fitting.empty())
        return pick;
    // The orientation is decided for the part taken only: deciding it for
    // every fitting part first would change nothing but the draws.
    pick = fitting[draw != 0 ? 0 : size_t(m_rng.draw(int32_t(fitting.size())))];
    pick.Turned = Orient(parts[size_t(pick.Idx)], r);
    return pick;
}

void TNaiveSearch::FillRect(const TFreeRect& r, TD2RGene& layout, TD2REleArr& parts, IntArr& candidates)
{
    const Pick pick = PickEle(r, parts, candidates);
    if (pick.Idx < 0) {
        layout.Rects.push_back(r);
        return;
    }
    TD2REle& e = parts[size_t(pick.Idx)];
    const double pl = pick.Turned ? e.Width : e.Length;
    const double pw = pick.Turned ? e.Length : e.Width;
    layout.Eles.push_back({pick.Idx, e.No, e.Name, e.Demo, r.X, r.Y, pl, pw});
    const bool first = !m_firstPlaced;
    m_firstPlaced = true;
    layout.EleArea += e.Length * e.Width;
    e.Count -= 1;
    if (e.Count == 0)
        candidates.erase(candidates.begin() + pick.Pos);

    bool horizontal;
    if (Prm.LayOut == 1)
        horizontal = true;
    else if (Prm.LayOut == 2)
        horizontal = false;
    else if (first && (Prm.FirCut == 1 || Prm.FirCut == 2))
        horizontal = Prm.FirCut == 1;
    else
        horizontal = m_rng.draw(2) == 0;

    const double k = Prm.Blade;
    if (horizontal) {
        if (r.Length - pl - k > 0)
            FillRect({r.X + pl + k, r.Y, r.Length - pl - k, std::min(pw, r.Width)}, layout, parts, candidates);
        if (r.Width - pw - k > 0)
            FillRect({r.X, r.Y + pw + k, r.Length, r.Width - pw - k}, layout, parts, candidates);
    } else {
        if (r.Width - pw - k > 0)
            FillRect({r.X, r.Y + pw + k, std::min(pl, r.Length), r.Width - pw - k}, layout, parts, candidates);
        if (r.Length - pl - k > 0)
            FillRect({r.X + pl + k, r.Y, r.Length - pl - k, r.Width}, layout, parts, candidates);
    }
}

TD2RGene TNaiveSearch::BestLayout(const TD2REleArr& parts, const IntArr& candidates, const TD2RRaw& sheet)
{
    TD2RGene result;
    const TFreeRect sheetRect{double(Prm.EdgL), double(Prm.EdgT), sheet.Length - Prm.EdgL - Prm.EdgR,
                              sheet.Width - Prm.EdgT - Prm.EdgB};
    if (!(sheet.Length > 0 && sheet.Width > 0 && sheetRect.Length > 0 && sheetRect.Width > 0))
        return result;
    const double sheetArea = sheet.Length * sheet.Width;
    double bestUti = 0;
    double bestLeft = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        TD2REleArr work = parts;
        IntArr cands = candidates;
        TD2RGene layout;
        m_firstPlaced = false;
        FillRect(sheetRect, layout, work, cands);
        const double uti = layout.EleArea / sheetArea;
        double left = 0;
        for (const TFreeRect& r : layout.Rects)
            left = std::max(left, r.Length * r.Width);
        if (uti > bestUti || (uti == bestUti && left > bestLeft)) {
            layout.MaxBin = left;
            bestUti = uti;
            bestLeft = left;
            result = layout;
        }
    }
    return result;
}

void TNaiveSearch::OrderEles(int32_t r)
{
    auto byKey = [&](auto key) {
        std::stable_sort(Eles.begin(), Eles.end(), [&](const TD2REle& a, const TD2REle& b) { return key(a) > key(b); });
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
    default:
        break;
    }
}

TD2RSchame TNaiveSearch::BuildSchame()
{
    TD2RSchame plan;
    TD2RRawArr raws = Raws;
    TD2REleArr eles = Eles;
    Int2Arr sheetList;
    for (size_t s = 0; s < raws.size(); ++s)
        sheetList.push_back({raws[s].Prio, int32_t(s)});
    auto candidatesNow = [&] {
        IntArr c;
        for (size_t i = 0; i < eles.size(); ++i)
            if (eles[i].Count > 0 && eles[i].Length > 0 && eles[i].Width > 0)
                c.push_back(int32_t(i));
        return c;
    };
    IntArr candidates = candidatesNow();
    while (!sheetList.empty() && !candidates.empty()) {
        IntArr preferred;
        for (size_t p = 0; p < sheetList.size(); ++p)
            if (sheetList[p][0] == 1)
                preferred.push_back(int32_t(p));
        const size_t pos = preferred.empty() ? size_t(m_rng.draw(int32_t(sheetList.size())))
                                             : size_t(preferred[size_t(m_rng.draw(int32_t(preferred.size())))]);
        const size_t s = size_t(sheetList[pos][1]);
        if (raws[s].Count <= 0) {
            sheetList.erase(sheetList.begin() + std::ptrdiff_t(pos));
            continue;
        }
        TD2RGene layout = BestLayout(eles, candidates, raws[s]);
        if (layout.Eles.empty()) {
            sheetList.erase(sheetList.begin() + std::ptrdiff_t(pos));
            continue;
        }
        layout.RawIdx = int32_t(s);
        layout.DbID = raws[s].DbID;
        layout.Name = raws[s].Name;
        layout.Price = raws[s].Price;
        layout.Length = raws[s].Length;
        layout.Width = raws[s].Width;
        int32_t repeat = 99999999;
        IntArr seen;
        for (const TRectEle& p : layout.Eles) {
            if (std::find(seen.begin(), seen.end(), p.EleIdx) != seen.end())
                continue;
            seen.push_back(p.EleIdx);
            const auto m = int32_t(std::count_if(layout.Eles.begin(), layout.Eles.end(),
                                                 [&](const TRectEle& q) { return q.EleIdx == p.EleIdx; }));
            repeat = std::min(repeat, eles[size_t(p.EleIdx)].Count / m);
        }
        repeat = std::min(repeat, raws[s].Count);
        layout.Count = repeat;
        plan.push_back(layout);
        raws[s].Count -= repeat;
        if (raws[s].Count <= 0)
            sheetList.erase(sheetList.begin() + std::ptrdiff_t(pos));
        for (const TRectEle& p : layout.Eles)
            eles[size_t(p.EleIdx)].Count -= repeat;
        candidates = candidatesNow();
    }
    return plan;
}

void TNaiveSearch::SelectBest(const TD2RPop& pop)
{
    const TD2RSchame* taken = nullptr;
    for (const TD2RSchame& plan : pop) {
        const int32_t n = int32_t(plan.size()) - 1;
        const double uti = SchameUti(plan);
        const double cost = SchamePrice(plan);
        double bin = 0;
        for (const TD2RGene& g : plan)
            bin += g.MaxBin;
        if (m_bests.Take(uti, n, bin, cost, Prm.PriCut))
            taken = &plan;
    }
    if (taken)
        Best = *taken;
}

void TNaiveSearch::Search()
{
    if (Raws.empty() || Eles.empty())
        return;
    TD2Random master(m_seed);
    for (int32_t gen = 0; gen < Prm.OptTm; ++gen) {
        TD2RPop pop;
        for (int i = 0; i < 30; ++i) {
            OrderEles(master.draw(7));
            m_rng.reseed(master.next64());
            TD2RSchame plan = BuildSchame();
            if (!plan.empty())
                pop.push_back(plan);
        }
        SelectBest(pop);
    }
    if (Prm.PriCut == 0)
        TD2Search::ShrinkSheets(Best, Raws, Prm);
}
