// The entry rules and clearing on the bill sheet alone, with a recording
// stand-in for the window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bill/zero_blanking.h"
#include "entry/clear_bill.h"
#include "entry/field_focus.h"
#include "recording_field_controls.h"

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

// Every named handler of every input column, on every line: a handler bound
// to the wrong column selects or moves in that column.
TEST(InputHandlers, EachColumnSelectsItsOwnTextAndMovesWithinItself) {
    BillSheet sheet;
    const std::u16string texts[] = {u"",  u"4.2",   u"12.5", u"长木料",
                                    u"0", u"1E200", u" 3",   u"99999"};
    for (const InputColumnHandlers& h : kInputColumnHandlers)
        for (int i = 0; i < kLineRows; ++i) sheet.set(h.column, i, texts[i]);
    struct KeyCase {
        std::int16_t key;
        int step;  // rows moved, or 0 for no move
    };
    const KeyCase keys[] = {{kKeyDown, 1}, {kKeyUp, -1}, {37, 0}, {39, 0}, {13, 0},
                            {9, 0},        {104, 0},     {98, 0}, {0, 0}};
    for (const InputColumnHandlers& h : kInputColumnHandlers) {
        for (int i = 0; i < kLineRows; ++i) {
            const FieldRef field{h.column, i};
            const auto index = static_cast<std::int16_t>(i);
            testing::RecordingFieldControls controls;
            h.gotFocus(sheet, controls, index);
            const int length = static_cast<int>(texts[i].size());
            EXPECT_EQ(controls.calls, std::vector<std::string>{"select " + fieldName(field) +
                                                               " 0 " + std::to_string(length)});
            for (const KeyCase& k : keys) {
                controls.calls.clear();
                std::int16_t key = k.key;
                std::int16_t shift = 1;
                h.keyDown(controls, index, key, shift);
                std::vector<std::string> expected;
                if (k.step != 0)
                    expected.push_back("focus " +
                                       fieldName({h.column, (i + k.step + kLineRows) % kLineRows}));
                EXPECT_EQ(controls.calls, expected) << fieldName(field) << " key " << k.key;
                EXPECT_EQ(key, k.key);  // the key still reaches the box
                EXPECT_EQ(shift, 1);
            }
        }
    }
}
}  // namespace
}  // namespace cubrix
