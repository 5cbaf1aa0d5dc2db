#pragma once

// The summary of a cutting plan: totals, the sheets used, the parts cut on
// every layout, the parts left uncut and the reusable remnants.

#include "D2Records.h"

// The lists and the drawing (UnitD2RectDispUi.cpp, in the Qt part of the
// program) take Qt types; the summary itself is standard C++.
class QImage;
class QPainter;
class QTreeWidget;
struct TShowSet;

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

    // The summary list: totals, sheet count and price (when shown), the sheets used.
    static void FillResult(QTreeWidget* tree, const TD2Rslt& rslt, bool showPrice);
    // The remnant list: name, length, width, count, and the stock id in column 4.
    static void FillBin(QTreeWidget* tree, const TD2Rslt& rslt);
    static void FillNoCut(QTreeWidget* tree, const TD2Rslt& rslt);

    // Draws layout `index` of a plan to scale (scale: millimetres per pixel)
    // with its header, its parts lines, the parts and the leftovers; returns
    // the pixel row of the sheet's bottom edge.
    static int DrawLayout(int index, int leftMm, const TShowSet& switches, int binW, int binL, double scale,
                          const TD2Rslt& summary, QPainter& canvas, const TD2RGene& layout, int pixelsPerMm,
                          int topMm);
    // The 128 x 128 thumbnail of a layout: the sheet across the full width,
    // at the bottom of the image, with the part numbers that fit.
    static QImage Thumbnail(const TD2RGene& layout);
    // "图[2]87.5%"
    static std::string ThumbnailCaption(int index, const TD2RGene& layout);
};
