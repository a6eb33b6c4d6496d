#include "bill/recalculation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bill/utf8.h"
#include "bill/zero_blanking.h"

namespace cubrix {
namespace {

struct Line {
    const char16_t* length;
    const char16_t* width;
    const char16_t* thickness;
    const char16_t* pieces;
    const char16_t* price;
};

void key(BillSheet& sheet, int row, const Line& line) {
    sheet.set(Field::Text1, row, line.length);
    sheet.set(Field::Text2, row, line.width);
    sheet.set(Field::Text3, row, line.thickness);
    sheet.set(Field::Text4, row, line.pieces);
    sheet.set(Field::Text6, row, line.price);
}

class Recalculation : public ::testing::Test {
protected:
    Recalculation() { connectZeroBlanking(sheet); }
    BillSheet sheet;
};

struct LineCase {
    const char* what;
    Line line;
    std::u16string volume;
    std::u16string amount;
    friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.what; }
};

class LineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineTable, OneLineAndItsTotals) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    const auto& c = GetParam();
    key(sheet, 5, c.line);
    ASSERT_FALSE(Timer1_Timer(sheet).has_value());
    EXPECT_EQ(sheet.text(Field::Text5, 5), c.volume) << c.what;
    EXPECT_EQ(sheet.text(Field::Text7, 5), c.amount) << c.what;
    // The totals count the line as shown.
    EXPECT_EQ(sheet.text(Field::Text8), c.volume) << c.what;
    const std::u16string total = c.amount.empty() ? u"" : c.amount + u"00";
    EXPECT_EQ(sheet.text(Field::Text9), total) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineTable,
    ::testing::Values(
        LineCase{"empty line", {u"", u"", u"", u"", u""}, u"", u""},
        LineCase{"no pieces", {u"4", u"150", u"25", u"", u"1000"}, u"", u""},
        LineCase{"zero width", {u"4", u"0", u"25", u"2", u"1000"}, u"", u""},
        LineCase{"letters", {u"abc", u"150", u"25", u"2", u"1000"}, u"", u""},
        LineCase{"negative length", {u"-4", u"150", u"25", u"1", u"1000"}, u"", u""},
        LineCase{"negative price", {u"4", u"150", u"25", u"1", u"-1000"}, u"0.0150", u""},
        LineCase{"below 0.00005 m³", {u"1", u"4", u"10", u"1", u"100000"}, u"", u""},
        LineCase{"fractional pieces", {u"4", u"100", u"10", u"2.5", u"100"}, u"0.0100", u"1.00"},
        LineCase{"trailing unit", {u"12m", u"100", u"10", u"1", u"100"}, u"0.0120", u"1.20"},
        LineCase{"decimal comma", {u"3,5", u"100", u"10", u"1", u"100"}, u"0.0030", u"0.30"},
        LineCase{"amount under half a fen", {u"1", u"10", u"10", u"1", u"40"}, u"0.0001", u""},
        LineCase{"price times shown volume",
                 {u"4.2", u"150", u"25", u"1", u"1000"},
                 u"0.0158",
                 u"15.80"}));

TEST_F(Recalculation, EmptySheetStaysEmptyAndNotifiesOnlyForZeros) {
    int notifications = 0;
    for (auto f : {Field::Text5, Field::Text7, Field::Text8, Field::Text9})
        sheet.subscribe(f, [&](int) { ++notifications; });
    for (int pass = 0; pass < 3; ++pass) {
        notifications = 0;
        ASSERT_FALSE(Timer1_Timer(sheet).has_value());
        // Each of the 18 computed fields goes to its zero text and back.
        EXPECT_EQ(notifications, 2 * 18);
    }
    for (int slot = 0; slot < kFieldCount; ++slot) {
        const auto ref = fieldAt(slot);
        if (ref.field < Field::Combo1) {
            EXPECT_TRUE(sheet.text(ref).empty()) << fieldName(ref);
        }
    }
}

TEST_F(Recalculation, UnchangedFullBillNotifiesNobody) {
    for (int i = 0; i < kLineRows; ++i) key(sheet, i, {u"4", u"150", u"25", u"3", u"1000"});
    ASSERT_FALSE(Timer1_Timer(sheet).has_value());
    int notifications = 0;
    for (int slot = 0; slot < kFieldCount; ++slot)
        if (fieldAt(slot).index == 0)
            sheet.subscribe(fieldAt(slot).field, [&](int) { ++notifications; });
    ASSERT_FALSE(Timer1_Timer(sheet).has_value());
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(sheet.text(Field::Text8), u"0.3600");
    EXPECT_EQ(sheet.text(Field::Text9), u"360.0000");
}

TEST_F(Recalculation, TotalAmountOfOneFenIsKept) {
    key(sheet, 0, {u"1", u"10", u"10", u"1", u"90"});  // 0.0001 m³ x 90 = 0.009 -> 0.01
    ASSERT_FALSE(Timer1_Timer(sheet).has_value());
    EXPECT_EQ(sheet.text(Field::Text7, 0), u"0.01");
    EXPECT_EQ(sheet.text(Field::Text9), u"0.0100");
}

constexpr int kNoFailure = -2;

// A figure too wide to write out in a literal: LEAD, ZEROS zeros, then TAIL.
std::u16string big(const char16_t* lead, int zeros, const char16_t* tail) {
    return lead + std::u16string(zeros, u'0') + tail;
}

// A bill that showed figures, then had one figure become uncomputable: what
// the window shows after the pass, and what a route out of it is told.
struct OverflowCase {
    const char* what;
    std::vector<std::pair<int, Line>> keyed;  // on top of the shown bill
    int row;                                  // the line named; -1 for a total
    std::map<int, std::pair<std::u16string, std::u16string>> lines;  // volume, amount
    std::u16string totalVolume;
    std::u16string totalAmount;
    friend void PrintTo(const OverflowCase& c, std::ostream* os) { *os << c.what; }
};

class OverflowTable : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(OverflowTable, EveryFigureShownIsCurrentOrCleared) {
    const OverflowCase& c = GetParam();
    BillSheet sheet;
    connectZeroBlanking(sheet);
    key(sheet, 0, {u"1", u"100", u"100", u"1", u"10"});  // 0.0100 m³, 0.10 yuan
    key(sheet, 4, {u"1", u"100", u"100", u"2", u"10"});  // 0.0200 m³, 0.20 yuan
    ASSERT_FALSE(Timer1_Timer(sheet).has_value());
    ASSERT_EQ(sheet.text(Field::Text9), u"0.3000");
    for (const auto& [row, line] : c.keyed) key(sheet, row, line);
    sheet.set(Field::Text7, 1, u"typed");  // a good pass overwrites it, a failed one too

    for (int pass = 0; pass < 2; ++pass) {  // a failing pass runs on every tick
        const auto failure = Timer1_Timer(sheet);
        if (c.row == kNoFailure) {
            EXPECT_FALSE(failure.has_value());
        } else {
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(*failure, overflowFailure(c.row));
        }
    }
    for (int i = 0; i < kLineRows; ++i) {
        const auto expected =
            c.lines.count(i) ? c.lines.at(i) : std::pair<std::u16string, std::u16string>();
        EXPECT_EQ(sheet.text(Field::Text5, i), expected.first) << "volume of line " << i;
        EXPECT_EQ(sheet.text(Field::Text7, i), expected.second) << "amount of line " << i;
    }
    EXPECT_EQ(sheet.text(Field::Text8), c.totalVolume);
    EXPECT_EQ(sheet.text(Field::Text9), c.totalAmount);
    // The routes out ask the same question of the texts alone.
    const auto refused = passFailure(sheet);
    EXPECT_EQ(refused.has_value(), c.row != kNoFailure);
    if (refused) {
        EXPECT_EQ(refused->row, c.row);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Recalculation, OverflowTable,
    ::testing::Values(
        OverflowCase{
            "a line's volume overflows: the lines above and below stay current",
            {{0, {u"2", u"100", u"100", u"1", u"20"}}, {2, {u"1E200", u"1E200", u"1", u"1", u"1"}}},
            2,
            {{0, {u"0.0200", u"0.40"}}, {4, {u"0.0200", u"0.20"}}},
            u"",
            u""},
        OverflowCase{"a length beyond the range of a double",
                     {{6, {u"1E400", u"1", u"1", u"1", u"1"}}},
                     6,
                     {{0, {u"0.0100", u"0.10"}}, {4, {u"0.0200", u"0.20"}}},
                     u"",
                     u""},
        OverflowCase{
            "a line's amount overflows: its volume stays current",
            {{0, {u"1", u"1000000", u"1", u"1", u"200"}},
             {1, {u"1000", u"1000", u"1000", u"1000", u"1E308"}}},
            1,
            {{0, {u"1.0000", u"200.00"}}, {1, {u"1000000.0000", u""}}, {4, {u"0.0200", u"0.20"}}},
            u"",
            u""},
        OverflowCase{"a price beyond the range of a double, in the last line",
                     {{7, {u"1", u"100", u"100", u"1", u"-2E308"}}},
                     7,
                     {{0, {u"0.0100", u"0.10"}}, {4, {u"0.0200", u"0.20"}}, {7, {u"0.0100", u""}}},
                     u"",
                     u""},
        OverflowCase{
            "two lines overflow: the first is named",
            {{3, {u"1", u"1", u"1", u"1", u"1E400"}}, {5, {u"1E200", u"1E200", u"1", u"1", u"1"}}},
            3,
            {{0, {u"0.0100", u"0.10"}}, {3, {u"", u""}}, {4, {u"0.0200", u"0.20"}}},
            u"",
            u""},
        OverflowCase{"the total amount overflows: every line stays current",
                     {{1, {u"1000", u"1000", u"1000", u"1000", u"1E302"}},
                      {2, {u"1000", u"1000", u"1000", u"1000", u"1.7E302"}}},
                     -1,
                     {{0, {u"0.0100", u"0.10"}},
                      {1, {u"1000000.0000", big(u"1", 308, u".00")}},
                      {2, {u"1000000.0000", big(u"17", 307, u".00")}},
                      {4, {u"0.0200", u"0.20"}}},
                     u"2000000.0300",
                     u""},
        OverflowCase{
            "an amount at the edge of a double is shown but does not read back",
            {{0, {u"1", u"1000000", u"1", u"1", u"1.7976931348623157E308"}}},
            -1,
            {{0, {u"1.0000", big(u"179769313486232", 294, u".00")}}, {4, {u"0.0200", u"0.20"}}},
            u"1.0200",
            u""},
        OverflowCase{
            "the total volume cannot overflow: each volume stays below the divisor's bound",
            {{0, {u"1.7E302", u"1", u"1", u"1000000", u""}},
             {1, {u"1.7E302", u"1", u"1", u"1000000", u""}}},
            kNoFailure,
            {{0, {big(u"17", 301, u".0000"), u""}},
             {1, {big(u"17", 301, u".0000"), u""}},
             {4, {u"0.0200", u"0.20"}}},
            big(u"34", 301, u".0000"),
            u"0.2000"}));

}  // namespace
}  // namespace cubrix
