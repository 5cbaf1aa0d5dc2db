#pragma once

// The summary of a cutting plan: totals, the sheets used, the parts cut on
// every layout, the parts left uncut and the reusable remnants.

#include "D2Records.h"

#include <string>
#include <vector>

struct TUseRaw {
    std::string Name;
    std::string Size; // "2440×1830"
    int32_t Count = 0;
    bool operator==(const TUseRaw&) const = default;
};
using TUseRawArr = std::vector<TUseRaw>;

struct TEleCut {
    int32_t No = 0;
    std::string Name;
    double Length = 0;
    double Width = 0;
    int32_t Count = 0;
    bool operator==(const TEleCut&) const = default;
};
using TNoCutArr = std::vector<TEleCut>;
using TEleCutArr = std::vector<std::vector<TEleCut>>;

struct TBinSize {
    std::string DbID;
    std::string Name;
    double Length = 0;
    double Width = 0;
    int32_t Count = 0;
    bool operator==(const TBinSize&) const = default;
};
using TBinSizeArr = std::vector<TBinSize>;

struct TD2Rslt {
    double EleArea = 0;
    double RawArea = 0;
    double Uti = 0;
    int32_t RawCount = 0;
    double Price = 0;
    TUseRawArr UseRaws;
    TEleCutArr EleCuts;
    TNoCutArr NoCuts;
    TBinSizeArr Bins;
};

class TD2Result final {
public:
    // parts: the part array of the run in list order, part No k at k - 1.
    static TD2Rslt BuildRslt(const TD2RSchame& plan, const TD2RPrm& prm, const TD2REleArr& parts);
    // "2440×1830"
    static std::string SizeText(double length, double width);
};
