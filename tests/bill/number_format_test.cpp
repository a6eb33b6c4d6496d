#include "bill/number_format.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace cubrix
