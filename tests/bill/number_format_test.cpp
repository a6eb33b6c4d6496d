#include "bill/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "bill/number_format_paths.h"
#include "bill/utf8.h"

namespace cubrix {
namespace {

struct FormatCase {
    double value;
    int decimals;
    std::string text;
    friend void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.text; }
};

class FormatTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, FixedDecimalsAfterFifteenDigitRounding) {
    const auto& c = GetParam();
    char16_t buffer[kFormatBufferSize];
    EXPECT_EQ(toUtf8(formatFixed(c.value, c.decimals, buffer)), c.text) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatTable,
    ::testing::Values(
        // Rounding the binary value would give 0.0001 and 2.67.
        FormatCase{1.5 * 100 * 1 * 1 / 1000000, 4, "0.0002"}, FormatCase{2.675, 2, "2.68"},
        FormatCase{4.2 * 150 * 25 * 1 / 1000000, 4, "0.0158"},
        FormatCase{1000 * 0.0158, 2, "15.80"}, FormatCase{0.0, 4, "0.0000"},
        FormatCase{0.0, 2, "0.00"}, FormatCase{-0.0, 4, "0.0000"}, FormatCase{0.5, 4, "0.5000"},
        FormatCase{0.00005, 4, "0.0001"}, FormatCase{0.000049999, 4, "0.0000"},
        FormatCase{0.004, 2, "0.00"}, FormatCase{0.005, 2, "0.01"},
        FormatCase{9.99995, 4, "10.0000"}, FormatCase{99.995, 2, "100.00"},
        FormatCase{999999.999999, 4, "1000000.0000"}, FormatCase{-1.5, 4, "-1.5000"},
        FormatCase{-2.675, 2, "-2.68"}, FormatCase{-0.00001, 4, "-0.0000"},
        FormatCase{765.82, 4, "765.8200"}, FormatCase{1e-300, 4, "0.0000"},
        FormatCase{123456789012.5, 2, "123456789012.50"},
        // 15 significant digits, then zeros: never an exponent
        FormatCase{1e20, 2, "100000000000000000000.00"},
        FormatCase{1234567890123456789.0, 4, "1234567890123460000.0000"},
        FormatCase{0.1 + 0.2, 4, "0.3000"}, FormatCase{1.00005, 4, "1.0001"}));

TEST(Format, LargestDoubleFitsTheBuffer) {
    char16_t buffer[kFormatBufferSize];
    const auto text = toUtf8(formatFixed(-1.7976931348623157e308, 4, buffer));
    EXPECT_EQ(text.size(), 1 + 309 + 1 + 4);
    EXPECT_EQ(text.substr(0, 16), "-179769313486232");
    EXPECT_EQ(text.substr(text.size() - 6), "0.0000");
}

std::optional<std::string> fast(double value, int decimals) {
    char16_t buffer[kFormatBufferSize];
    const auto text = formatFixedFast(value, decimals, buffer);
    if (!text) return std::nullopt;
    return toUtf8(*text);
}

std::string byText(double value, int decimals) {
    char16_t buffer[kFormatBufferSize];
    return toUtf8(formatFixedByText(value, decimals, buffer));
}

std::string formatted(double value, int decimals) {
    char16_t buffer[kFormatBufferSize];
    return toUtf8(formatFixed(value, decimals, buffer));
}

// Halves at the last decimal after the 15-digit rounding, near-halves either
// side of it, carries into a new digit and the edges of the fast range: the
// fast path takes each, and the text path writes the same.
TEST(BothPaths, WriteTheSameTextOnChosenValues) {
    const double values[] = {2.675,
                             0.00015,
                             0.005,
                             0.00005,
                             1.00005,
                             0.000049999,
                             0.004999999999999,
                             9.99995,
                             99.995,
                             999999.999999,
                             999999999999999.9,
                             99999999999999.95,
                             123456789012.345,
                             12345678.0351563,
                             1e-8,
                             1.5e-8,
                             0.30000000000000004,
                             15.8,
                             765.82,
                             999999999999999.875};
    for (const double v : values)
        for (const int decimals : {kAmountDecimals, kVolumeDecimals})
            for (const double value : {v, -v}) {
                const auto quick = fast(value, decimals);
                ASSERT_TRUE(quick.has_value()) << value << '/' << decimals;
                EXPECT_EQ(*quick, byText(value, decimals)) << value << '/' << decimals;
            }
}

// Numbers of every decade the fast path covers, and their neighbours one
// binary step away.
TEST(BothPaths, AgreeAcrossTheFastRange) {
    const double mantissas[] = {1,       1.05,      2.675,   4.4445,           5,
                                9.9995,  9.9999,    1.00015, 1.23456789012345, 9.99999999999995,
                                3.14159, 6.02214076};
    int compared = 0;
    int total = 0;
    for (int exponent = -8; exponent <= 14; ++exponent) {
        for (const double m : mantissas) {
            const double centre = m * std::pow(10.0, exponent);
            for (const double v :
                 {std::nextafter(centre, 0.0), centre, std::nextafter(centre, 1e300)})
                for (const int decimals : {kAmountDecimals, kVolumeDecimals})
                    for (const double value : {v, -v}) {
                        ++total;
                        const auto quick = fast(value, decimals);
                        if (!quick) continue;
                        ++compared;
                        EXPECT_EQ(*quick, byText(value, decimals)) << value << '/' << decimals;
                    }
        }
    }
    // Only exact ties leave the fast path inside its range.
    EXPECT_GT(compared, total * 9 / 10);
}

class TextPathOnly : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TextPathOnly, WritesTheRoundedText) {
    const auto& c = GetParam();
    EXPECT_FALSE(fast(c.value, c.decimals).has_value());
    EXPECT_EQ(byText(c.value, c.decimals), c.text);
    EXPECT_EQ(formatted(c.value, c.decimals), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TextPathOnly,
    ::testing::Values(
        // 1e15 and above: all fifteen digits stand before the point
        FormatCase{1e15, 4, "1000000000000000.0000"}, FormatCase{-1e15, 2, "-1000000000000000.00"},
        FormatCase{9007199254740993.0, 4, "9007199254740990.0000"},
        FormatCase{9999999999999998.0, 4, "10000000000000000.0000"},
        FormatCase{1000000000000005.25, 2, "1000000000000010.00"},
        FormatCase{999999999999999.5, 2, "1000000000000000.00"},
        // below 1e-8: nothing shows but the sign
        FormatCase{5e-9, 4, "0.0000"}, FormatCase{-5e-9, 4, "-0.0000"}, FormatCase{5e-9, 2, "0.00"},
        FormatCase{9.999999999999999e-9, 4, "0.0000"},
        // an exact tie at the 16th digit goes to the even 15th digit ...
        FormatCase{1234567890123.125, 2, "1234567890123.12"},
        FormatCase{1234567890123.375, 2, "1234567890123.38"},
        FormatCase{-1234567890123.125, 2, "-1234567890123.12"},
        // ... and a half at the pattern's last decimal then goes away from zero
        FormatCase{1234567890.015625, 2, "1234567890.02"},
        FormatCase{-1234567890.015625, 2, "-1234567890.02"},
        FormatCase{1234567890.015625, 4, "1234567890.0156"},
        FormatCase{12345678.03515625, 4, "12345678.0352"}));

}  // namespace
}  // namespace cubrix
