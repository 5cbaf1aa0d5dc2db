#include "NumText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The value to 15 significant digits: digits "ddddddddddddddd" and the decimal
// exponent of the first one.
struct Decimal {
    bool negative = false;
    char digits[16] = {};
    int exponent = 0;
};

Decimal ToDecimal(double value)
{
    Decimal d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    int n = 0;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits[n++] = *p;
    d.digits[n] = 0;
    if (*p == 'e')
        d.exponent = std::atoi(p + 1);
    return d;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string FloatText(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    const Decimal d = ToDecimal(value);
    int last = 14;
    while (last > 0 && d.digits[last] == '0')
        --last;
    std::string out = d.negative ? "-" : "";
    if (d.exponent < -5 || d.exponent >= 15) {
        out += d.digits[0];
        if (last > 0) {
            out += '.';
            out.append(d.digits + 1, size_t(last));
        }
        out += 'E';
        out += std::to_string(d.exponent);
        return out;
    }
    if (d.exponent < 0) {
        out += "0.";
        out.append(size_t(-d.exponent - 1), '0');
        out.append(d.digits, size_t(last + 1));
        return out;
    }
    const int intDigits = d.exponent + 1;
    out.append(d.digits, size_t(std::min(intDigits, last + 1)));
    if (intDigits > last + 1)
        out.append(size_t(intDigits - last - 1), '0');
    else if (last + 1 > intDigits) {
        out += '.';
        out.append(d.digits + intDigits, size_t(last + 1 - intDigits));
    }
    return out;
}

std::string FixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return FloatText(value);
    // Round on the decimal digits, not on the binary value, so that 0.15
    // gives 0.2 as a person would expect.
    std::string digits; // integer and fraction digits, decimal point implied
    bool negative = false;
    int intDigits = 1;
    if (value != 0) {
        const Decimal d = ToDecimal(value);
        negative = d.negative;
        std::string all(d.digits);
        int exponent = d.exponent;
        const int keep = exponent + 1 + decimals; // digits before the cut
        if (keep < 0) {
            all.clear();
        } else if (keep < 15) {
            const bool up = all[size_t(keep)] >= '5';
            all.resize(size_t(keep));
            if (up) {
                int i = keep - 1;
                while (i >= 0 && all[size_t(i)] == '9')
                    all[size_t(i--)] = '0';
                if (i >= 0)
                    ++all[size_t(i)];
                else {
                    all.insert(all.begin(), '1');
                    ++exponent;
                }
            }
        }
        // Lay the significant digits out on a fixed grid of intDigits.decimals.
        if (exponent >= 0) {
            intDigits = exponent + 1;
            digits = all;
            digits.resize(size_t(intDigits + decimals), '0');
        } else {
            digits.assign(size_t(-exponent), '0'); // "0" and the zeros after the point
            digits += all;
            digits.resize(size_t(1 + decimals), '0');
        }
    } else {
        digits.assign(size_t(1 + decimals), '0');
    }
    if (digits.find_first_not_of('0') == std::string::npos)
        negative = false;
    std::string out = negative ? "-" : "";
    out.append(digits, 0, size_t(intDigits));
    if (decimals > 0) {
        out += '.';
        out.append(digits, size_t(intDigits), size_t(decimals));
    }
    return out;
}

std::optional<double> TextToFloat(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int32_t> TextToInt(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    if (text.empty())
        return std::nullopt;
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}
