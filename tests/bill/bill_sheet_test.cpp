#include "bill/bill_sheet.h"

#include <gtest/gtest.h>

#include <map>
#include <string_view>
#include <vector>

#include "bill/zero_blanking.h"

namespace cubrix {
namespace {

TEST(BillSheet, StartsEmptyWithDefaultCaptions) {
    const std::map<Field, std::u16string_view> captions = {{Field::Combo1, u"联系人"},
                                                           {Field::Combo2, u"车号"},
                                                           {Field::Combo3, u"购货单位"},
                                                           {Field::Combo4, u"出货单位"}};
    BillSheet sheet;
    int captionBoxes = 0;
    for (int slot = 0; slot < kFieldCount; ++slot) {
        const auto ref = fieldAt(slot);
        if (const auto caption = captions.find(ref.field); caption != captions.end()) {
            EXPECT_EQ(sheet.text(ref), caption->second) << fieldName(ref);
            ++captionBoxes;
        } else {
            EXPECT_TRUE(sheet.text(ref).empty()) << fieldName(ref);
        }
    }
    EXPECT_EQ(captionBoxes, 4);
    EXPECT_EQ(sheet.text(Field::Combo1), u"联系人");
    EXPECT_EQ(sheet.text(Field::Combo2), u"车号");
    EXPECT_EQ(sheet.text(Field::Combo3), u"购货单位");
    EXPECT_EQ(sheet.text(Field::Combo4), u"出货单位");
}

TEST(BillSheet, NotifiesOnlyOnChangeWithIndex) {
    BillSheet sheet;
    std::vector<int> seen;
    sheet.subscribe(Field::Text5, [&](int i) { seen.push_back(i); });
    EXPECT_FALSE(sheet.set(Field::Text5, 3, u""));  // empty on empty: nobody hears
    EXPECT_TRUE(sheet.set(Field::Text5, 3, u"1.2345"));
    EXPECT_FALSE(sheet.set(Field::Text5, 3, u"1.2345"));  // same text twice: once
    EXPECT_TRUE(sheet.set(Field::Text5, 7, u"x"));
    sheet.set(Field::Text6, 3, u"9");  // another column: not this listener
    EXPECT_EQ(seen, (std::vector<int>{3, 7}));
    (void)sheet.text(Field::Text5, 3);  // reading never notifies
    EXPECT_EQ(seen.size(), 2u);
}

TEST(BillSheet, StoresAnyTextUnchanged) {
    BillSheet sheet;
    for (const std::u16string text : {u"abc", u"3,5", u" 1 200 ", u"长宽", u"\t\n"}) {
        sheet.set(Field::Text1, 0, text);
        EXPECT_EQ(sheet.text(Field::Text1, 0), text);
    }
}

TEST(BillSheet, ZeroOnEmptyVolumeNestsOneChangeAndEndsEmpty) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    std::vector<std::u16string> shown;  // what a window would be told, in order
    sheet.subscribe(Field::Text5, [&](int i) { shown.push_back(sheet.text(Field::Text5, i)); });
    sheet.set(Field::Text5, 2, u"0.0000");
    EXPECT_TRUE(sheet.text(Field::Text5, 2).empty());
    // The blanking runs first (subscribed first) and empties the field inside
    // the outer notification; the nested change is the second notification.
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].empty());
    EXPECT_TRUE(shown[1].empty());
}

TEST(FieldNames, RoundTripAndRejectUnknown) {
    for (int slot = 0; slot < kFieldCount; ++slot) {
        const auto ref = fieldAt(slot);
        EXPECT_EQ(slotOf(ref), slot);
        EXPECT_EQ(parseFieldName(fieldName(ref)), ref) << fieldName(ref);
    }
    for (const char* bad : {"Text1", "Text1(8)", "Text8(0)", "Text15", "Combo5", "text1(0)",
                            "Text1(0", "Text1(-1)", "", "Label1(0)"})
        EXPECT_FALSE(parseFieldName(bad).has_value()) << bad;
}

}  // namespace
}  // namespace cubrix
