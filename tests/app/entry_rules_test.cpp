// The entry rules and clearing on the bill sheet alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/overflow_report.h"
#include "bill/zero_blanking.h"
#include "entry/clear_bill.h"
#include "entry/field_focus.h"

namespace cubrix {
namespace {

TEST(RowNavigation, WrapsAtBothEndsAndIgnoresOtherKeys) {
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(rowAfterKey(row, kKeyDown), (row + 1) % 8);
        EXPECT_EQ(rowAfterKey(row, kKeyUp), (row + 7) % 8);
        for (std::int16_t other : {37, 39, 13, 33, 34, 104, 98, 0, 9})
            EXPECT_FALSE(rowAfterKey(row, other).has_value());
    }
}

TEST(ClearBill, WritesInOrderAndKeepsTheLowerEntries) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    for (int slot = 0; slot < kFieldCount; ++slot) sheet.set(fieldAt(slot), u"9");
    std::vector<std::string> cleared;
    for (int f = 0; f <= static_cast<int>(Field::Combo4); ++f) {
        const auto field = static_cast<Field>(f);
        sheet.subscribe(field, [&, field](int i) {
            if (sheet.text(field, i).empty()) cleared.push_back(fieldName({field, i}));
        });
    }
    Command1_Click(sheet);
    std::vector<std::string> expected;
    for (int c = 1; c <= 7; ++c)
        for (int i = 0; i < 8; ++i)
            expected.push_back("Text" + std::to_string(c) + "(" + std::to_string(i) + ")");
    for (const char* f : {"Text10", "Text11", "Text8", "Text9"}) expected.push_back(f);
    EXPECT_EQ(cleared, expected);
    for (Field kept : {Field::Text12, Field::Text13, Field::Text14, Field::Combo1, Field::Combo2,
                       Field::Combo3, Field::Combo4})
        EXPECT_EQ(sheet.text(kept), u"9");
    cleared.clear();
    Command1_Click(sheet);  // an empty bill: nothing changes
    EXPECT_TRUE(cleared.empty());
}

TEST(OverflowReport, OnceUntilAGoodPassAndNeverWhileOpen) {
    OverflowReport report;
    // failed?, shown?  (and when the message is closed)
    EXPECT_FALSE(report.passFinished(false));
    EXPECT_TRUE(report.passFinished(true));
    EXPECT_FALSE(report.passFinished(true));
    EXPECT_FALSE(report.passFinished(false));  // recovered while still open
    EXPECT_FALSE(report.passFinished(true));   // open: not a second one
    report.messageClosed();
    EXPECT_FALSE(report.passFinished(true));  // same failure since the last report
    EXPECT_FALSE(report.passFinished(false));
    EXPECT_TRUE(report.passFinished(true));
}

}  // namespace
}  // namespace cubrix
