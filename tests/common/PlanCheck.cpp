#include "PlanCheck.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

namespace {

constexpr double Eps = 1e-6;

struct Box {
    double X0, Y0, X1, Y1;
};

// Finds an edge-to-edge cut with at least the kerf between the pieces on
// either side, and recurses into both sides.
bool Guillotine(std::vector<Box> boxes, double kerf)
{
    if (boxes.size() <= 1)
        return true;
    for (int axis = 0; axis < 2; ++axis) {
        auto start = [axis](const Box& b) { return axis ? b.Y0 : b.X0; };
        auto end = [axis](const Box& b) { return axis ? b.Y1 : b.X1; };
        std::sort(boxes.begin(), boxes.end(), [&](const Box& a, const Box& b) { return start(a) < start(b); });
        double reach = end(boxes[0]);
        for (size_t i = 1; i < boxes.size(); ++i) {
            if (start(boxes[i]) + Eps >= reach + kerf) {
                std::vector<Box> first(boxes.begin(), boxes.begin() + std::ptrdiff_t(i));
                std::vector<Box> second(boxes.begin() + std::ptrdiff_t(i), boxes.end());
                return Guillotine(std::move(first), kerf) && Guillotine(std::move(second), kerf);
            }
            reach = std::max(reach, end(boxes[i]));
        }
    }
    return false;
}

} // namespace

std::string CheckLayout(const TD2RGene& g, const TD2RPrm& prm)
{
    std::ostringstream err;
    const double t = prm.wucha;
    const double x0 = prm.EdgL, y0 = prm.EdgT;
    const double x1 = g.Length - prm.EdgR, y1 = g.Width - prm.EdgB;
    std::vector<Box> boxes;
    for (const TRectEle& p : g.Eles) {
        if (p.X < x0 - Eps || p.Y < y0 - Eps || p.X + p.Length > x1 + t + Eps || p.Y + p.Width > y1 + t + Eps)
            err << "part " << p.No << " at " << p.X << "," << p.Y << " size " << p.Length << "x" << p.Width
                << " leaves the trimmed sheet " << x0 << "," << y0 << "-" << x1 << "," << y1 << "; ";
        boxes.push_back({p.X, p.Y, p.X + p.Length, p.Y + p.Width});
    }
    for (const TFreeRect& r : g.Rects) {
        if (r.Length == 0 || r.Width == 0) // cleared when the layout moved to a smaller sheet
            continue;
        if (r.Length < 0 || r.Width < 0 || r.X < x0 - Eps || r.Y < y0 - Eps || r.X + r.Length > x1 + Eps ||
            r.Y + r.Width > y1 + Eps)
            err << "leftover " << r.X << "," << r.Y << " " << r.Length << "x" << r.Width << " is out of place; ";
    }
    // Under a tolerance a part may be up to that much larger than its space,
    // so neighbours may overlap by as much, never more.
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const Box &a = boxes[i], &b = boxes[j];
            const double overlapX = std::min(a.X1, b.X1) - std::max(a.X0, b.X0);
            const double overlapY = std::min(a.Y1, b.Y1) - std::max(a.Y0, b.Y0);
            if (overlapX > Eps && overlapY > Eps && std::min(overlapX, overlapY) > t + Eps)
                err << "placements " << i << " and " << j << " overlap by " << overlapX << "x" << overlapY << "; ";
        }
    if (t == 0 && !Guillotine(boxes, prm.Blade))
        err << "no guillotine cut sequence with kerf " << prm.Blade << "; ";
    return err.str();
}

std::string CheckPlan(const TD2RSchame& plan, const TD2RRawArr& sheets, const TD2REleArr& parts, const TD2RPrm& prm)
{
    std::ostringstream err;
    std::map<int, long long> placed;
    std::map<std::string, long long> usedSheets;
    for (size_t li = 0; li < plan.size(); ++li) {
        const TD2RGene& g = plan[li];
        if (g.Count < 1)
            err << "layout " << li << " has count " << g.Count << "; ";
        if (g.Eles.empty())
            err << "layout " << li << " has no placements; ";
        const std::string problem = CheckLayout(g, prm);
        if (!problem.empty())
            err << "layout " << li << ": " << problem;
        usedSheets[g.Name + "|" + g.DbID + "|" + std::to_string(g.Length) + "x" + std::to_string(g.Width)] += g.Count;
        for (const TRectEle& p : g.Eles) {
            if (p.No < 1 || size_t(p.No) > parts.size()) {
                err << "placement of unknown part " << p.No << "; ";
                continue;
            }
            const TD2REle& e = parts[size_t(p.No - 1)];
            const bool straight = p.Length == e.Length && p.Width == e.Width;
            const bool turned = p.Length == e.Width && p.Width == e.Length;
            if (!straight && !(turned && e.NoGrain == 1))
                err << "part " << p.No << " placed as " << p.Length << "x" << p.Width << "; ";
            placed[p.No] += g.Count;
        }
    }
    for (const auto& [no, n] : placed)
        if (n > parts[size_t(no - 1)].Count)
            err << "part " << no << " cut " << n << " times of " << parts[size_t(no - 1)].Count << "; ";
    std::map<std::string, long long> available;
    for (const TD2RRaw& s : sheets)
        available[s.Name + "|" + s.DbID + "|" + std::to_string(s.Length) + "x" + std::to_string(s.Width)] += s.Count;
    for (const auto& [key, n] : usedSheets)
        if (n > available[key])
            err << "sheet " << key << " used " << n << " times of " << available[key] << "; ";
    return err.str();
}
