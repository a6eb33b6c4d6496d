#include "bill/amount_in_capitals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bill/utf8.h"

namespace cubrix {
namespace {

struct CapitalsCase {
    double total;
    const char* capitals;
};

class AmountInCapitals : public ::testing::TestWithParam<CapitalsCase> {};

TEST_P(AmountInCapitals, WritesTheTotalAsABillIsWrittenByHand) {
    EXPECT_EQ(toUtf8(amountInCapitals(GetParam().total)), GetParam().capitals);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, AmountInCapitals,
    ::testing::Values(
        CapitalsCase{765.82, "人民币柒佰陆拾伍元捌角贰分"}, CapitalsCase{0.01, "人民币壹分"},
        CapitalsCase{0.1, "人民币壹角"}, CapitalsCase{1, "人民币壹元整"},
        CapitalsCase{10.05, "人民币壹拾元零伍分"}, CapitalsCase{100.5, "人民币壹佰元零伍角"},
        CapitalsCase{1005, "人民币壹仟零伍元整"}, CapitalsCase{1010, "人民币壹仟零壹拾元整"},
        CapitalsCase{10000, "人民币壹万元整"}, CapitalsCase{100000, "人民币壹拾万元整"},
        CapitalsCase{107000.53, "人民币壹拾万柒仟元零伍角叁分"},
        CapitalsCase{100000.5, "人民币壹拾万元零伍角"}, CapitalsCase{100000000, "人民币壹亿元整"},
        CapitalsCase{100010000, "人民币壹亿零壹万元整"},
        CapitalsCase{100001000, "人民币壹亿零壹仟元整"},
        CapitalsCase{123456789.12, "人民币壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"},
        CapitalsCase{99999999.9999, "人民币壹亿元整"},  // rounds up
        CapitalsCase{999999999999.99,
                     "人民币玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        CapitalsCase{0, "人民币零元整"}, CapitalsCase{-0.004, "人民币零元整"},
        CapitalsCase{-1, "人民币负壹元整"},
        CapitalsCase{-24645.41, "人民币负贰万肆仟陆佰肆拾伍元肆角壹分"},
        CapitalsCase{1e12, ""},  // 1万亿: beyond the groups
        CapitalsCase{-1e12, ""}, CapitalsCase{1e300, ""},
        CapitalsCase{std::numeric_limits<double>::quiet_NaN(), ""},
        CapitalsCase{std::numeric_limits<double>::infinity(), ""}));

}  // namespace
}  // namespace cubrix
