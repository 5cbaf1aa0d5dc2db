#include "UnitD2RectDisp.h"

#include "NumText.h"

#include <algorithm>
#include <limits>

namespace {

int32_t Saturated(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

std::string TD2Result::SizeText(double length, double width)
{
    return FloatText(length) + "×" + FloatText(width);
}

TD2Rslt TD2Result::BuildRslt(const TD2RSchame& plan, const TD2RPrm& prm, const TD2REleArr& parts)
{
    TD2Rslt r;
    // Counts add up in 64 bits: a plan of huge counts (a hand-edited file)
    // must not wrap around.
    int64_t rawCount = 0;
    std::vector<int64_t> left(parts.size());
    for (size_t k = 0; k < parts.size(); ++k)
        left[k] = parts[k].Count;
    r.EleCuts.resize(plan.size());
    for (size_t gi = 0; gi < plan.size(); ++gi) {
        const TD2RGene& g = plan[gi];
        r.RawArea += g.Length * g.Width * g.Count;
        rawCount += g.Count;
        r.EleArea += g.Count * g.EleArea;
        r.Price += g.Length * g.Width * g.Count * g.Price / 1000000;

        const std::string size = SizeText(g.Length, g.Width);
        auto used = std::find_if(r.UseRaws.begin(), r.UseRaws.end(),
                                 [&](const TUseRaw& u) { return u.Size == size && u.Name == g.Name; });
        if (used != r.UseRaws.end())
            used->Count = Saturated(int64_t(used->Count) + g.Count);
        else
            r.UseRaws.push_back({g.Name, size, g.Count});

        for (const TFreeRect& rc : g.Rects) {
            // A rectangle cleared when its layout moved to a smaller sheet has
            // no size and is never a remnant.
            if (rc.Length <= 0 || rc.Width <= 0 || rc.Length < prm.BinL || rc.Width < prm.BinW)
                continue;
            auto bin = std::find_if(r.Bins.begin(), r.Bins.end(), [&](const TBinSize& b) {
                return b.Length == rc.Length && b.Width == rc.Width && b.DbID == g.DbID;
            });
            if (bin != r.Bins.end())
                bin->Count = Saturated(int64_t(bin->Count) + g.Count);
            else
                r.Bins.push_back({g.DbID, g.Name, rc.Length, rc.Width, g.Count});
        }

        // A placement whose No names no part of the list (a hand-edited file)
        // is still listed on its layout but takes nothing from the parts.
        for (const TRectEle& p : g.Eles)
            if (p.No >= 1 && size_t(p.No) <= left.size())
                left[size_t(p.No - 1)] -= g.Count;

        std::vector<TEleCut>& cuts = r.EleCuts[gi];
        for (const TRectEle& p : g.Eles) {
            auto cut = std::find_if(cuts.begin(), cuts.end(), [&](const TEleCut& c) { return c.No == p.No; });
            if (cut != cuts.end())
                ++cut->Count;
            else
                cuts.push_back({p.No, p.Name, p.Length, p.Width, 1});
        }
    }
    for (size_t k = 0; k < parts.size(); ++k)
        if (left[k] != 0) {
            const TD2REle& e = parts[k];
            r.NoCuts.push_back({e.No, e.Name, e.Length, e.Width, Saturated(left[k])});
        }
    r.RawCount = Saturated(rawCount);
    r.Uti = r.RawArea != 0 ? r.EleArea / r.RawArea : 0;
    return r;
}
