#pragma once

// The records of a cutting problem and of a cutting plan. Plain values: whoever
// holds an array owns its copy. Texts are UTF-8.

#include <cstdint>
#include <string>
#include <vector>

using IntArr = std::vector<int32_t>;
using Int2Arr = std::vector<IntArr>;

// One stock sheet type.
struct TD2RRaw {
    int32_t No = 0;
    std::string Name;
    std::string DbID = "-1";
    std::string Demo;
    double Price = 0;
    double Length = 0;
    double Width = 0;
    int32_t Count = 0;
    int32_t Prio = 0; // 1 preferred, 0 normal
    bool operator==(const TD2RRaw&) const = default;
};
using TD2RRawArr = std::vector<TD2RRaw>;

// One part type. A part without grain (NoGrain 1) is held with Length >= Width.
struct TD2REle {
    int32_t No = 0;
    std::string Name;
    std::string Demo;
    double Length = 0;
    double Width = 0;
    int32_t Count = 0;
    int32_t NoGrain = 1;
    bool operator==(const TD2REle&) const = default;
};
using TD2REleArr = std::vector<TD2REle>;

// One placed part; Length is its extent along x, Width along y.
struct TRectEle {
    int32_t EleIdx = 0;
    int32_t No = 0;
    std::string Name;
    std::string Demo;
    double X = 0;
    double Y = 0;
    double Length = 0;
    double Width = 0;
    bool operator==(const TRectEle&) const = default;
};
using TD2REleLay = std::vector<TRectEle>;

struct TFreeRect {
    double X = 0;
    double Y = 0;
    double Length = 0;
    double Width = 0;
    bool operator==(const TFreeRect&) const = default;
};
using TRectArr = std::vector<TFreeRect>;

// One sheet layout and the number of sheets cut with it.
struct TD2RGene {
    int32_t RawIdx = 0;
    std::string DbID;
    std::string Name;
    double Price = 0;
    double Length = 0;
    double Width = 0;
    int32_t Count = 0;
    TD2REleLay Eles;
    TRectArr Rects;
    double EleArea = 0;
    double MaxBin = 0;
    bool operator==(const TD2RGene&) const = default;
};
using TD2RSchame = std::vector<TD2RGene>;
using TD2RPop = std::vector<TD2RSchame>;

// Run parameters. PriCut, FirCut and LayOut are 0..2 here (stored as 1..3).
struct TD2RPrm {
    int32_t OptTm = 10;
    double Blade = 0;
    void* CtrlWnd = nullptr;
    void* MainWnd = nullptr;
    uint8_t PriCut = 0; // 0 utilisation, 1 fewest layouts, 2 lowest price
    uint8_t FirCut = 0; // 0 any, 1 horizontal, 2 vertical
    uint8_t LayOut = 0; // 0 any, 1 horizontal strips, 2 vertical strips
    int32_t WenLu = 0;
    int32_t EdgT = 0;
    int32_t EdgB = 0;
    int32_t EdgL = 0;
    int32_t EdgR = 0;
    int32_t BinL = 100;
    int32_t BinW = 100;
    int32_t lingyin = 0;
    int32_t wucha = 0;
    bool operator==(const TD2RPrm&) const = default;
};

// Measures of a plan.
double SchameRawArea(const TD2RSchame& plan);
double SchameEleArea(const TD2RSchame& plan);
double SchameUti(const TD2RSchame& plan);
double SchamePrice(const TD2RSchame& plan);
int64_t SchameSheetCount(const TD2RSchame& plan);

// The parameters with a negative or unreadable kerf, trim or tolerance set to
// 0 (any of them would let parts overlap or leave the sheet), and a choice
// outside 0..2 set to 0.
TD2RPrm SanitizedPrm(TD2RPrm prm);

// Swaps Length and Width of every part without grain whose Length is the smaller.
void NormalizeGrain(TD2REleArr& parts);
