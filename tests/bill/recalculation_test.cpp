#include "bill/recalculation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

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

TEST_F(Recalculation, OverflowAtALineStopsThereAndKeepsTheRest) {
    key(sheet, 0, {u"1", u"100", u"100", u"1", u"10"});
    key(sheet, 4, {u"1", u"100", u"100", u"2", u"10"});
    ASSERT_FALSE(Timer1_Timer(sheet).has_value());
    // Line 0 and 4 now show 0.0100 and 0.0200; change line 0, break line 2.
    key(sheet, 0, {u"2", u"100", u"100", u"1", u"10"});
    sheet.set(Field::Text1, 2, u"1E200");
    sheet.set(Field::Text2, 2, u"1E200");
    sheet.set(Field::Text7, 1, u"typed");  // would be overwritten by a good pass
    const auto failure = Timer1_Timer(sheet);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, 6);
    EXPECT_EQ(failure->text, "溢出");
    EXPECT_EQ(failure->row, 2);
    EXPECT_EQ(sheet.text(Field::Text5, 0), u"0.0200");  // above: updated
    EXPECT_EQ(sheet.text(Field::Text5, 4), u"0.0200");  // after: previous text
    EXPECT_EQ(sheet.text(Field::Text7, 0), u"0.10");    // amounts not reached
    EXPECT_EQ(sheet.text(Field::Text7, 1), u"typed");
    EXPECT_EQ(sheet.text(Field::Text8), u"0.0300");
}

TEST_F(Recalculation, FailuresAtReadsAmountsAndTotals) {
    struct Case {
        const char* what;
        Field field;
        int index;
        const char16_t* text;
        int row;  // the line the operator is sent to; -1 for the totals
    };
    for (const auto& c : {Case{"unreadable length", Field::Text1, 0, u"1E400", 0},
                          Case{"unreadable price", Field::Text6, 7, u"-2E308", 7},
                          Case{"amount overflows", Field::Text6, 0, u"1E308", 0},
                          Case{"total amount overflows", Field::Text5, 1, u"", -1}}) {
        BillSheet s;
        connectZeroBlanking(s);
        key(s, 0, {u"1000", u"1000", u"1000", u"1000", u"1"});  // 1e6 m³
        if (c.field == Field::Text5) {
            // Each amount is finite, their sum is not.
            key(s, 1, {u"1000", u"1000", u"1000", u"1000", u"1E302"});
            key(s, 2, {u"1000", u"1000", u"1000", u"1000", u"1.7E302"});
        } else {
            s.set(c.field, c.index, c.text);
        }
        const auto failure = Timer1_Timer(s);
        ASSERT_TRUE(failure.has_value()) << c.what;
        EXPECT_EQ(*failure, overflowFailure(c.row)) << c.what;
    }
}

}  // namespace
}  // namespace cubrix
