#pragma once

// Filling one stock sheet with parts by recursive guillotine cuts: the best of
// 20 random fills. This is the optimizer's hot loop, so it works on indices and
// plain numbers only; names are attached when a layout is kept in a plan.

#include "D2Random.h"
#include "D2Records.h"

#include <vector>

// A placement without its texts: EleIdx indexes the part table of the fill.
struct TD2Place {
    int32_t EleIdx;
    double X;
    double Y;
    double Length;
    double Width;
};

struct TD2Layout {
    std::vector<TD2Place> Eles;
    std::vector<TFreeRect> Rects;
    double EleArea = 0;
    double MaxBin = 0;
    void clear()
    {
        Eles.clear();
        Rects.clear();
        EleArea = 0;
        MaxBin = 0;
    }
};

// The geometry of the part types in the order the search currently uses.
struct TD2PartTable {
    std::vector<double> Length;
    std::vector<double> Width;
    std::vector<uint8_t> NoGrain;
    int size() const { return int(Length.size()); }
    void assign(const TD2REleArr& eles, const IntArr& order);
};

class TD2SheetFill final {
public:
    explicit TD2SheetFill(const TD2RPrm& prm);

    // Best of 20 fills of one sheet. counts: the remaining quantity of every
    // part (read only); candidates: the parts still to cut, ascending. The
    // returned layout stays valid until the next call.
    const TD2Layout& BestLayout(const TD2PartTable& parts, const int32_t* counts, const int32_t* candidates,
                                int candidateCount, double sheetLength, double sheetWidth, TD2Random& rng);

    static constexpr int Attempts = 20;
    static constexpr int Block = 8;

private:
    void FillRect(double x, double y, double length, double width);
    int PickEle(double length, double width, bool& turned);
    bool Turned(int pos, double length, double width);

    double m_blade;
    double m_tol;
    double m_trimL;
    double m_trimR;
    double m_trimT;
    double m_trimB;
    int m_firCut;
    int m_layOut;

    // Per call, indexed by the position in the candidate list. A part leaves
    // the list by getting an unreachable first requirement, so positions stay.
    const TD2PartTable* m_parts = nullptr;
    TD2Random* m_rng = nullptr;
    int m_candCount = 0;
    std::vector<int32_t> m_idx;       // part index
    std::vector<uint8_t> m_free;      // 1: no grain, may turn
    std::vector<double> m_need1;      // grain: Length; else shorter side - tolerance
    std::vector<double> m_need2;      // grain: Width; else longer side - tolerance
    std::vector<double> m_live1;      // m_need1 of this attempt, infinite once used up
    std::vector<int32_t> m_count0;    // pieces left when the call began
    std::vector<int32_t> m_left;      // pieces left in this attempt
    std::vector<int32_t> m_fits;      // positions that fit, for the random pick
    std::vector<double> m_blockFree1; // per block of candidates: smallest requirements
    std::vector<double> m_blockFree2;
    std::vector<double> m_blockGrain1;
    std::vector<double> m_blockGrain2;
    double m_minFree1 = 0; // smallest requirements over all candidates
    double m_minFree2 = 0;
    double m_minGrain1 = 0;
    double m_minGrain2 = 0;
    std::vector<TFreeRect> m_stack; // free rectangles still to fill
    TD2Layout m_cur;
    TD2Layout m_best;
    bool m_firstPlaced = false;
};

// Convenience for callers outside the search: fills one sheet of the given
// type and returns the layout with names attached and the sheet fields set.
TD2RGene BestLayoutFor(const TD2REleArr& parts, const IntArr& candidates, const TD2RRaw& sheet, const TD2RPrm& prm,
                       TD2Random& rng);
