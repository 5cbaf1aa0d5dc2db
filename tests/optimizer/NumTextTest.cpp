#include "NumText.h"

#include <gtest/gtest.h>

TEST(NumText, FloatTextIsTheShortestGeneralForm)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {600, "600"},
        {612.5, "612.5"},
        {612.34, "612.34"},
        {0.1 + 0.2, "0.3"},
        {-3.25, "-3.25"},
        {2440.0 * 1830.0, "4465200"},
        {1e-6, "1E-6"},
        {1.5e-7, "1.5E-7"},
        {0.00001, "0.00001"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {999999999999999.9, "1E15"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatText(c.value), c.text) << c.value;
}

TEST(NumText, FixedTextRoundsHalfAwayFromZeroOnTheDecimals)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {612, 1, "612.0"},
        {612.34, 1, "612.3"},
        {612.46, 1, "612.5"},
        {0.15, 1, "0.2"},
        {0.25, 1, "0.3"},
        {0.04, 1, "0.0"},
        {0.06, 1, "0.1"},
        {0.96, 1, "1.0"},
        {99.95, 1, "100.0"},
        {-0.04, 1, "0.0"},
        {-2.25, 1, "-2.3"},
        {87.534, 2, "87.53"},
        {87.535, 2, "87.54"},
        {0, 2, "0.00"},
        {100, 2, "100.00"},
        {22.326, 1, "22.3"},
        {1e-9, 1, "0.0"},
        {5, 0, "5"},
        {123456.789, 1, "123456.8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedText(c.value, c.decimals), c.text) << c.value << " to " << c.decimals;
}

TEST(NumText, ParsingAcceptsNumbersAsTyped)
{
    EXPECT_EQ(TextToFloat(" 12.5 "), 12.5);
    EXPECT_EQ(TextToFloat("1E-6"), 1e-6);
    EXPECT_EQ(TextToFloat("+3"), 3.0);
    EXPECT_EQ(TextToFloat("-0.5"), -0.5);
    for (const char* bad : {"", " ", "12a", "1,5", "nan", "inf", "--1", "+-1", "1e999"})
        EXPECT_FALSE(TextToFloat(bad)) << bad;

    EXPECT_EQ(TextToInt("42"), 42);
    EXPECT_EQ(TextToInt(" -7 "), -7);
    for (const char* bad : {"", "2.5", "x", "99999999999", "1e3", "+-1"})
        EXPECT_FALSE(TextToInt(bad)) << bad;
}

TEST(NumText, WrittenTextsReadBackToTheSameValue)
{
    for (double v : {0.1, 612.34, 1234.5678, 1e-6, 3.14159265358979, 2440.0, 0.30000000000000004})
        EXPECT_DOUBLE_EQ(*TextToFloat(FloatText(v)), v);
}
