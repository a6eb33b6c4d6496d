#include "bill/number_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bill/utf8.h"

namespace cubrix {
namespace {

struct ReadCase {
    std::u16string text;
    double value;
    friend void PrintTo(const ReadCase& c, std::ostream* os) {
        *os << '"' << toUtf8(c.text) << '"';
    }
};

class ReadNumberTable : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberTable, ReadsLongestLeadingNumber) {
    const auto& c = GetParam();
    const auto v = readNumber(c.text);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ReadNumberTable,
    ::testing::Values(
        ReadCase{u"", 0}, ReadCase{u"  2.5  ", 2.5}, ReadCase{u"1 200", 1200}, ReadCase{u"3,5", 3},
        ReadCase{u"12m", 12}, ReadCase{u".5", 0.5}, ReadCase{u"-4", -4}, ReadCase{u"1.5E2", 150},
        ReadCase{u"1.5D2", 150}, ReadCase{u"1.5e2", 150}, ReadCase{u"1.5d-2", 0.015},
        ReadCase{u"2.5.1", 2.5}, ReadCase{u"abc", 0},
        // blanks, tabs and line feeds anywhere, also inside sign and exponent
        ReadCase{u"\t1\n2 . 5", 12.5}, ReadCase{u"- 5", -5}, ReadCase{u"1.5 E + 2", 150},
        // a letter without exponent digits is not part of the number
        ReadCase{u"1.5E", 1.5}, ReadCase{u"1.5E+", 1.5}, ReadCase{u"7e-x", 7}, ReadCase{u"-", 0},
        ReadCase{u"+", 0}, ReadCase{u".", 0}, ReadCase{u"-.", 0}, ReadCase{u"   ", 0},
        ReadCase{u"5.", 5}, ReadCase{u"+5", 5}, ReadCase{u"-.25", -0.25}, ReadCase{u"0012", 12},
        ReadCase{u"4.2", 4.2}, ReadCase{u"0.01575", 0.01575},
        // forms that strtod would take but the rule does not
        ReadCase{u"inf", 0}, ReadCase{u"nan", 0}, ReadCase{u"0x1A", 0}, ReadCase{u"infinity", 0},
        ReadCase{u"&H10", 0}, ReadCase{u"\r5", 0}, ReadCase{u"１２", 0}, ReadCase{u"12长", 12},
        // carriage return is not a blank; it ends the number
        ReadCase{u"1\r2", 1},
        // too small for a double reads as zero, not as a failure
        ReadCase{u"1E-400", 0}, ReadCase{u"1E-99999999999999999999", 0},
        ReadCase{u"1.7976931348623157E308", 1.7976931348623157e308},
        ReadCase{u"0.000000000000000000000000000001E30", 1}));

TEST(ReadNumber, OverflowsBeyondDoubleRange) {
    for (const std::u16string text :
         {u"1E309", u"-1E309", u"1.8E308", u"1E99999999999999999999", u"1D400"}) {
        EXPECT_FALSE(readNumber(text).has_value()) << std::string(text.begin(), text.end());
    }
}

TEST(ReadNumber, HugeRunsOfDigitsAreExactAndBounded) {
    // 400 digits: overflow. 300 digits: 1e299 correctly rounded.
    EXPECT_FALSE(readNumber(u"1" + std::u16string(400, u'0')).has_value());
    EXPECT_EQ(*readNumber(u"1" + std::u16string(299, u'0')), 1e299);
    // Digits far past the kept ones still decide the rounding: 1 + 2^-53 ties
    // to 1, anything above rounds up.
    const std::u16string halfUlp = u"1.00000000000000011102230246251565404236316680908203125";
    EXPECT_EQ(*readNumber(halfUlp), 1.0);
    EXPECT_EQ(*readNumber(halfUlp + std::u16string(2000, u'0') + u"1"), std::nextafter(1.0, 2.0));
    // A megabyte of zeros after the point, then a digit: too small, zero.
    EXPECT_EQ(*readNumber(u"0." + std::u16string(1 << 20, u'0') + u"7"), 0.0);
    EXPECT_EQ(*readNumber(std::u16string(1 << 20, u' ') + u"3"), 3.0);
    // Leading zeros only move the point; digits past the kept ones still count.
    EXPECT_EQ(*readNumber(u"0." + std::u16string(300, u'0') + u"15"), 1.5e-301);
    EXPECT_EQ(*readNumber(std::u16string(5000, u'0') + u"12.5"), 12.5);
    EXPECT_EQ(*readNumber(u"1." + std::u16string(900, u'3')), 4.0 / 3.0);
    EXPECT_FALSE(readNumber(u"1" + std::u16string(1000, u'0')).has_value());
    EXPECT_EQ(*readNumber(u"1" + std::u16string(1000, u'0') + u"E-990"), 1e10);
    // A huge written exponent is set against the point's shift, not cut first.
    EXPECT_EQ(*readNumber(u"0." + std::u16string(200000, u'0') + u"1e200005"), 1e4);
    EXPECT_EQ(*readNumber(u"1" + std::u16string(200000, u'0') + u"e-200000"), 1.0);
    EXPECT_FALSE(readNumber(u"1e" + std::u16string(40, u'9')).has_value());
    EXPECT_EQ(*readNumber(u"1e-" + std::u16string(40, u'9')), 0.0);
}

}  // namespace
}  // namespace cubrix
