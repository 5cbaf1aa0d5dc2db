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

const TD2Layout& TD2SheetFill::BestLayout(const TD2PartTable& parts, const int32_t* counts, const int32_t* candidates,
                                          int candidateCount, double sheetLength, double sheetWidth, TD2Random& rng)
{
    m_parts = &parts;
    m_rng = &rng;
    m_best.clear();

    const double freeLength = sheetLength - m_trimL - m_trimR;
    const double freeWidth = sheetWidth - m_trimT - m_trimB;
    // Trims that eat the whole sheet leave nothing to place parts on.
    if (!(sheetLength > 0 && sheetWidth > 0 && freeLength > 0 && freeWidth > 0))
        return m_best;

    // The candidates' requirements in list order, in flat arrays: the scan
    // for the first fitting part is then one tight loop. A part without grain
    // fits a rectangle exactly when its shorter side less the tolerance fits
    // the rectangle's shorter side and its longer side its longer side.
    const size_t n = size_t(candidateCount);
    m_candCount = candidateCount;
    m_idx.resize(n);
    m_free.resize(n);
    m_need1.resize(n);
    m_need2.resize(n);
    m_live1.resize(n);
    m_left.resize(n);
    m_count0.resize(n);
    m_fits.resize(n);
    for (size_t p = 0; p < n; ++p) {
        const size_t i = size_t(candidates[p]);
        const double l = parts.Length[i];
        const double w = parts.Width[i];
        m_idx[p] = int32_t(i);
        m_count0[p] = counts[i];
        m_free[p] = parts.NoGrain[i];
        if (m_free[p]) {
            m_need1[p] = std::min(l, w) - m_tol;
            m_need2[p] = std::max(l, w) - m_tol;
        } else {
            m_need1[p] = l;
            m_need2[p] = w;
        }
    }
    const size_t blocks = (n + Block - 1) / Block;
    const double none = std::numeric_limits<double>::infinity();
    m_blockFree1.assign(blocks, none);
    m_blockFree2.assign(blocks, none);
    m_blockGrain1.assign(blocks, none);
    m_blockGrain2.assign(blocks, none);
    for (size_t p = 0; p < n; ++p) {
        const size_t b = p / Block;
        std::vector<double>& min1 = m_free[p] ? m_blockFree1 : m_blockGrain1;
        std::vector<double>& min2 = m_free[p] ? m_blockFree2 : m_blockGrain2;
        min1[b] = std::min(min1[b], m_need1[p]);
        min2[b] = std::min(min2[b], m_need2[p]);
    }
    const auto smallest = [none](const std::vector<double>& v) {
        double m = none;
        for (double d : v)
            m = std::min(m, d);
        return m;
    };
    m_minFree1 = smallest(m_blockFree1);
    m_minFree2 = smallest(m_blockFree2);
    m_minGrain1 = smallest(m_blockGrain1);
    m_minGrain2 = smallest(m_blockGrain2);

    const double sheetArea = sheetLength * sheetWidth;
    double bestUti = 0;
    double bestLeft = 0;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (n) {
            std::memcpy(m_live1.data(), m_need1.data(), n * sizeof(double));
            std::memcpy(m_left.data(), m_count0.data(), n * sizeof(int32_t));
        }
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

// The free rectangles wait on a stack instead of the call stack: a long strip
// of small parts nests as deep as it has parts. The second rectangle of a cut
// is pushed first, so the first is filled completely before it, as the
// recursion would.
void TD2SheetFill::FillRect(double x, double y, double length, double width)
{
    m_stack.clear();
    m_stack.push_back({x, y, length, width});
    while (!m_stack.empty()) {
        const TFreeRect r = m_stack.back();
        m_stack.pop_back();

        bool turned = false;
        const int pos = PickEle(r.Length, r.Width, turned);
        if (pos < 0) {
            m_cur.Rects.push_back(r);
            continue;
        }
        const size_t i = size_t(m_idx[size_t(pos)]);
        const double partL = m_parts->Length[i];
        const double partW = m_parts->Width[i];
        const double pl = turned ? partW : partL;
        const double pw = turned ? partL : partW;
        m_cur.Eles.push_back({int32_t(i), r.X, r.Y, pl, pw});
        const bool first = !m_firstPlaced;
        m_firstPlaced = true;
        m_cur.EleArea += partL * partW;

        if (--m_left[size_t(pos)] == 0)
            m_live1[size_t(pos)] = std::numeric_limits<double>::infinity();

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
        // A part placed under the tolerance may stick out of its rectangle;
        // the remainders beside it are still kept inside the rectangle, so
        // overhangs never add up along a strip or a column.
        if (horizontal) {
            if (r.Width - pw - k > 0)
                m_stack.push_back({r.X, r.Y + pw + k, r.Length, r.Width - pw - k});
            if (r.Length - pl - k > 0)
                m_stack.push_back({r.X + pl + k, r.Y, r.Length - pl - k, std::min(pw, r.Width)});
        } else {
            if (r.Length - pl - k > 0)
                m_stack.push_back({r.X + pl + k, r.Y, r.Length - pl - k, r.Width});
            if (r.Width - pw - k > 0)
                m_stack.push_back({r.X, r.Y + pw + k, std::min(pl, r.Length), r.Width - pw - k});
        }
    }
}

// The orientation of a fitting part: straight when a side matches the
// rectangle exactly, turned when a turned side does, else at random.
bool TD2SheetFill::Turned(int pos, double length, double width)
{
    if (!m_free[size_t(pos)])
        return false;
    const size_t i = size_t(m_idx[size_t(pos)]);
    const double partL = m_parts->Length[i];
    const double partW = m_parts->Width[i];
    const bool straight = partL - m_tol <= length && partW - m_tol <= width;
    const bool across = partW - m_tol <= length && partL - m_tol <= width;
    if (straight && across) {
        if (partL == length || partW == width)
            return false;
        if (partW == length || partL == width)
            return true;
        return m_rng->draw(2) == 1;
    }
    return across;
}

int TD2SheetFill::PickEle(double length, double width, bool& turned)
{
    const int32_t draw = m_rng->draw(10);
    const double shorter = std::min(length, width);
    const double longer = std::max(length, width);
    // Most rectangles that take nothing are slivers below every part.
    if (!(shorter >= m_minFree1 && longer >= m_minFree2) && !(length >= m_minGrain1 && width >= m_minGrain2))
        return -1;
    // Index 0: a part with grain, 1: without.
    const double room1[2] = {length, shorter};
    const double room2[2] = {width, longer};
    const int n = m_candCount;
    const double* live1 = m_live1.data();
    const double* need2 = m_need2.data();
    const uint8_t* free = m_free.data();
    int found = 0;
    for (int b = 0, first = 0; first < n; ++b, first += Block) {
        // Skip a block none of whose parts can fit.
        if ((m_blockFree1[size_t(b)] > shorter || m_blockFree2[size_t(b)] > longer) &&
            (m_blockGrain1[size_t(b)] > length || m_blockGrain2[size_t(b)] > width))
            continue;
        const int last = std::min(n, first + Block);
        for (int p = first; p < last; ++p) {
            const int f = free[p];
            if (live1[p] <= room1[f] && need2[p] <= room2[f]) {
                if (draw != 0) { // nine times in ten: the first that fits
                    turned = Turned(p, length, width);
                    return p;
                }
                m_fits[size_t(found++)] = p;
            }
        }
    }
    if (found == 0)
        return -1;
    // Once in ten: any that fits. Its orientation is decided once it is taken;
    // deciding it for every fitting part first would change only the draws.
    const int p = m_fits[size_t(m_rng->draw(found))];
    turned = Turned(p, length, width);
    return p;
}

TD2RGene BestLayoutFor(const TD2REleArr& parts, const IntArr& candidates, const TD2RRaw& sheet, const TD2RPrm& prm,
                       TD2Random& rng)
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
