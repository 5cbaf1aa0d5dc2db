#pragma once

// A plain, straightforward implementation of the same search, kept as the
// yardstick the benchmark measures the optimizer against and as an
// independent check of its results: for the same seed both give the same plan.
// It copies whole records (with their texts) wherever the rules say "copy",
// and builds every plan on one thread.

#include "D2Random.h"
#include "D2Records.h"
#include "UnitD2Rect.h"

class TNaiveSearch final {
public:
    TNaiveSearch(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles, uint64_t seed);
    void Search();
    const TD2RSchame& GetBest() const { return Best; }

private:
    struct Pick {
        int Idx = -1;
        int Pos = 0;
        bool Turned = false;
    };

    TD2RGene BestLayout(const TD2REleArr& parts, const IntArr& candidates, const TD2RRaw& sheet);
    void FillRect(const TFreeRect& r, TD2RGene& layout, TD2REleArr& parts, IntArr& candidates);
    Pick PickEle(const TFreeRect& r, const TD2REleArr& parts, const IntArr& candidates);
    bool Fits(const TD2REle& e, const TFreeRect& r);
    bool Orient(const TD2REle& e, const TFreeRect& r);
    void OrderEles(int32_t r);
    TD2RSchame BuildSchame();
    void SelectBest(const TD2RPop& pop);

    TD2RRawArr Raws;
    TD2REleArr Eles;
    TD2RPrm Prm;
    TD2RSchame Best;
    TD2Bests m_bests;
    uint64_t m_seed;
    TD2Random m_rng;
    bool m_firstPlaced = false;
};
