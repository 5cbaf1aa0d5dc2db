#include "D2Fill.h"

#include <algorithm>
#include <cstring>
#include <limits>

void TD2PartTable::assign(const TD2REleArr& eles, const IntArr& order)
{
    const size_t n = order.size();
    Length.resize(n);
    Width.resize(n);
    NoGrain.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const TD2REle& e = eles[size_t(order[i])];
        Length[i] = e.Length;
        Width[i] = e.Width;
        NoGrain[i] = e.NoGrain == 1 ? 1 : 0;
    }
}

TD2SheetFill::TD2SheetFill(const TD2RPrm& given)
{
    const TD2RPrm prm = SanitizedPrm(given);
    m_blade = prm.Blade;
    m_tol = prm.wucha;
    m_trimL = prm.EdgL;
    m_trimR = prm.EdgR;
    m_trimT = prm.EdgT;
    m_trimB = prm.EdgB;
    m_firCut = prm.FirCut;
    m_layOut = prm.LayOut;
}

const TD2Layout& TD2SheetFill::BestLayout(const TD2PartTable& parts, const int32_t* counts,
                                          const int32_t* candidates, int candidateCount,
                                          double sheetLength, double sheetWidth, TD2Random& rng)
{
    m_parts = &parts;
    m_rng = &rng;
    m_best.clear();

    const double freeLength = sheetLength - m_trimL - m_trimR;
    const double freeWidth = sheetWidth - m_trimT - m_trimB;
    // Trims that eat the whole sheet leave nothing to place parts on.
    if (!(sheetLength > 0 && sheetWidth > 0 && freeLength > 0 && freeWidth > 0))
        return m_best;

    const double sheetArea = sheetLength * sheetWidth;
    const size_t n = size_t(parts.size());
    if (m_count.size() < n)
        m_count.resize(n);
    if (m_cand.size() < size_t(candidateCount))
        m_cand.resize(size_t(candidateCount));
    if (m_fits.size() < size_t(candidateCount))
        m_fits.resize(size_t(candidateCount));

    // A lower bound on the shorter side of any free rectangle a candidate can
    // take, so that small rectangles need no scan. Candidates only ever leave
    // the list, which raises the true bound: one value serves the whole call.
    m_minSide = std::numeric_limits<double>::infinity();
    for (int p = 0; p < candidateCount; ++p) {
        const size_t i = size_t(candidates[p]);
        const double side = std::min(parts.Length[i], parts.Width[i]);
        m_minSide = std::min(m_minSide, parts.NoGrain[i] ? side - m_tol : side);
    }

    double bestUti = 0;
    double bestLeft = 0;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (n)
            std::memcpy(m_count.data(), counts, n * sizeof(int32_t));
        if (candidateCount)
            std::memcpy(m_cand.data(), candidates, size_t(candidateCount) * sizeof(int32_t));
        m_candCount = candidateCount;
        m_cur.clear();
        m_firstPlaced = false;

        FillRect(m_trimL, m_trimT, freeLength, freeWidth);

        const double uti = m_cur.EleArea / sheetArea;
        double left = 0;
        for (const TFreeRect& r : m_cur.Rects)
            left = std::max(left, r.Length * r.Width);
        // Strict comparisons: an earlier attempt wins a full tie.
        if (uti > bestUti || (uti == bestUti && left > bestLeft)) {
            m_cur.MaxBin = left;
            bestUti = uti;
            bestLeft = left;
            std::swap(m_cur, m_best);
        }
    }
    return m_best;
}

void TD2SheetFill::FillRect(double x, double y, double length, double width)
{
    int pos = 0;
    bool turned = false;
    const int idx = PickEle(length, width, pos, turned);
    if (idx < 0) {
        m_cur.Rects.push_back({x, y, length, width});
        return;
    }
    const size_t i = size_t(idx);
    const double partL = m_parts->Length[i];
    const double partW = m_parts->Width[i];
    const double pl = turned ? partW : partL;
    const double pw = turned ? partL : partW;
    m_cur.Eles.push_back({idx, x, y, pl, pw});
    const bool first = !m_firstPlaced;
    m_firstPlaced = true;
    m_cur.EleArea += partL * partW;

    if (--m_count[i] == 0) {
        std::memmove(m_cand.data() + pos, m_cand.data() + pos + 1,
                     size_t(m_candCount - pos - 1) * sizeof(int32_t));
        --m_candCount;
    }

    bool horizontal;
    if (m_layOut == 1)
        horizontal = true;
    else if (m_layOut == 2)
        horizontal = false;
    else if (first && (m_firCut == 1 || m_firCut == 2))
        horizontal = m_firCut == 1;
    else
        horizontal = m_rng->draw(2) == 0;

    const double k = m_blade;
    // A part placed under the tolerance may stick out of its rectangle; the
    // remainders beside it are still kept inside the rectangle, so overhangs
    // never add up along a strip or a column.
    if (horizontal) {
        if (length - pl - k > 0)
            FillRect(x + pl + k, y, length - pl - k, std::min(pw, width));
        if (width - pw - k > 0)
            FillRect(x, y + pw + k, length, width - pw - k);
    } else {
        if (width - pw - k > 0)
            FillRect(x, y + pw + k, std::min(pl, length), width - pw - k);
        if (length - pl - k > 0)
            FillRect(x + pl + k, y, length - pl - k, width);
    }
}

bool TD2SheetFill::Fits(int idx, double length, double width, bool& turned)
{
    const size_t i = size_t(idx);
    const double partL = m_parts->Length[i];
    const double partW = m_parts->Width[i];
    if (!m_parts->NoGrain[i]) {
        turned = false;
        return partL <= length && partW <= width;
    }
    const bool straight = partL - m_tol <= length && partW - m_tol <= width;
    const bool across = partW - m_tol <= length && partL - m_tol <= width;
    if (straight && across) {
        if (partL == length || partW == width)
            turned = false;
        else if (partW == length || partL == width)
            turned = true;
        else
            turned = m_rng->draw(2) == 1;
        return true;
    }
    turned = across;
    return straight || across;
}

int TD2SheetFill::PickEle(double length, double width, int& pos, bool& turned)
{
    const int32_t draw = m_rng->draw(10);
    if (std::min(length, width) < m_minSide)
        return -1;
    if (draw != 0) {
        for (int p = 0; p < m_candCount; ++p) {
            if (Fits(m_cand[size_t(p)], length, width, turned)) {
                pos = p;
                return m_cand[size_t(p)];
            }
        }
        return -1;
    }
    int found = 0;
    for (int p = 0; p < m_candCount; ++p) {
        bool t = false;
        if (Fits(m_cand[size_t(p)], length, width, t))
            m_fits[size_t(found++)] = {m_cand[size_t(p)], p, t};
    }
    if (found == 0)
        return -1;
    const Fit& f = m_fits[size_t(m_rng->draw(found))];
    pos = f.Pos;
    turned = f.Turned;
    return f.Idx;
}

TD2RGene BestLayoutFor(const TD2REleArr& parts, const IntArr& candidates, const TD2RRaw& sheet,
                       const TD2RPrm& prm, TD2Random& rng)
{
    IntArr order(parts.size());
    IntArr counts(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        order[i] = int32_t(i);
        counts[i] = parts[i].Count;
    }
    TD2PartTable table;
    table.assign(parts, order);
    TD2SheetFill fill(prm);
    const TD2Layout& lay = fill.BestLayout(table, counts.data(), candidates.data(), int(candidates.size()),
                                           sheet.Length, sheet.Width, rng);
    TD2RGene g;
    g.DbID = sheet.DbID;
    g.Name = sheet.Name;
    g.Price = sheet.Price;
    g.Length = sheet.Length;
    g.Width = sheet.Width;
    g.Count = 1;
    g.EleArea = lay.EleArea;
    g.MaxBin = lay.MaxBin;
    g.Rects = lay.Rects;
    g.Eles.reserve(lay.Eles.size());
    for (const TD2Place& p : lay.Eles) {
        const TD2REle& e = parts[size_t(p.EleIdx)];
        g.Eles.push_back({p.EleIdx, e.No, e.Name, e.Demo, p.X, p.Y, p.Length, p.Width});
    }
    return g;
}
