#include "D2Records.h"

#include <algorithm>
#include <utility>

double SchameRawArea(const TD2RSchame& plan)
{
    double area = 0;
    for (const TD2RGene& g : plan)
        area += g.Length * g.Width * g.Count;
    return area;
}

double SchameEleArea(const TD2RSchame& plan)
{
    double area = 0;
    for (const TD2RGene& g : plan)
        area += g.EleArea * g.Count;
    return area;
}

double SchameUti(const TD2RSchame& plan)
{
    const double raw = SchameRawArea(plan);
    return raw != 0 ? SchameEleArea(plan) / raw : 0;
}

double SchamePrice(const TD2RSchame& plan)
{
    double price = 0;
    for (const TD2RGene& g : plan)
        price += g.Length * g.Width * g.Count * g.Price / 1000000;
    return price;
}

int64_t SchameSheetCount(const TD2RSchame& plan)
{
    int64_t n = 0;
    for (const TD2RGene& g : plan)
        n += g.Count;
    return n;
}

void NormalizeGrain(TD2REleArr& parts)
{
    for (TD2REle& e : parts)
        if (e.NoGrain == 1 && e.Length < e.Width)
            std::swap(e.Length, e.Width);
}

TD2RPrm SanitizedPrm(TD2RPrm prm)
{
    if (!(prm.Blade >= 0)) // also NaN
        prm.Blade = 0;
    for (uint8_t* v : {&prm.PriCut, &prm.FirCut, &prm.LayOut})
        if (*v > 2)
            *v = 0;
    for (int32_t* v : {&prm.EdgT, &prm.EdgB, &prm.EdgL, &prm.EdgR, &prm.wucha})
        *v = std::max(*v, 0);
    return prm;
}
