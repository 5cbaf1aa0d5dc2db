#pragma once

// Soundness of layouts and plans, independent of how they were built.

#include "D2Records.h"

#include <string>

// Empty when the layout is sound: every placement inside the trimmed sheet
// (by at most the tolerance beyond it), no two placements overlapping (by
// more than the tolerance), and without tolerance every piece separable by
// edge-to-edge cuts with the kerf between pieces.
std::string CheckLayout(const TD2RGene& g, const TD2RPrm& prm);

// Empty when the plan is sound: every layout sound, parts placed as typed
// (grain parts never turned), never more pieces than wanted nor more sheets
// of a type than available. sheets and parts are the caller's input arrays.
std::string CheckPlan(const TD2RSchame& plan, const TD2RRawArr& sheets, const TD2REleArr& parts, const TD2RPrm& prm);
