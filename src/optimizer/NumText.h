#pragma once

// The number texts every list, summary and file of the program uses.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Shortest decimal text of the value to 15 significant digits: 600, 612.5,
// 0.3 for 0.1 + 0.2; below 0.00001 or beyond 15 integer digits in exponent
// form (1E-6).
std::string FloatText(double value);

// The value rounded half away from zero to the given number of decimals, always
// with that many: FixedText(612, 1) is 612.0, FixedText(612.46, 1) is 612.5.
std::string FixedText(double value, int decimals);

// Text to number as typed: surrounding blanks allowed, nothing else. Empty,
// partial, infinite and NaN texts give no value.
std::optional<double> TextToFloat(std::string_view text);
std::optional<int32_t> TextToInt(std::string_view text);
