#include "bill/zero_blanking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bill/utf8.h"

namespace cubrix {
namespace {

struct BlankCase {
    std::u16string text;
    bool keptAgainstVolume;  // threshold "0.00001"
    bool keptAgainstAmount;  // threshold "0.01"
    friend void PrintTo(const BlankCase& c, std::ostream* os) {
        *os << '"' << toUtf8(c.text) << '"';
    }
};

class BlankingTable : public ::testing::TestWithParam<BlankCase> {};

TEST_P(BlankingTable, ComparesTextsByCharacterCode) {
    const auto& c = GetParam();
    BillSheet sheet;
    connectZeroBlanking(sheet);
    const std::u16string expectVolume = c.keptAgainstVolume ? c.text : u"";
    const std::u16string expectAmount = c.keptAgainstAmount ? c.text : u"";
    sheet.set(Field::Text5, 4, c.text);
    sheet.set(Field::Text8, 0, c.text);
    sheet.set(Field::Text7, 4, c.text);
    sheet.set(Field::Text9, 0, c.text);
    EXPECT_EQ(sheet.text(Field::Text5, 4), expectVolume) << toUtf8(c.text);
    EXPECT_EQ(sheet.text(Field::Text8), expectVolume) << toUtf8(c.text);
    EXPECT_EQ(sheet.text(Field::Text7, 4), expectAmount) << toUtf8(c.text);
    EXPECT_EQ(sheet.text(Field::Text9), expectAmount) << toUtf8(c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, BlankingTable,
    ::testing::Values(BlankCase{u"", false, false}, BlankCase{u"0", false, false},
                      BlankCase{u"0.", false, false}, BlankCase{u"0.0", false, false},
                      BlankCase{u"0.0000", false, false}, BlankCase{u"0.00", false, false},
                      BlankCase{u"0.000001", false, false}, BlankCase{u"0.00001", true, false},
                      BlankCase{u"0.0001", true, false}, BlankCase{u"0.0099", true, false},
                      BlankCase{u"0.0050", true, false}, BlankCase{u"0.01", true, true},
                      BlankCase{u"0.0100", true, true}, BlankCase{u"0.5", true, true},
                      BlankCase{u"1.2345", true, true}, BlankCase{u"12", true, true},
                      BlankCase{u"750.00", true, true}, BlankCase{u"00.1", true, true},
                      BlankCase{u"-1.0000", false, false}, BlankCase{u".5", false, false},
                      BlankCase{u" 5", false, false}, BlankCase{u"abc", true, true},
                      BlankCase{u"长", true, true}, BlankCase{u"0.000009", false, false}));

TEST(ZeroBlanking, ArrayHandlerChecksTheWholeGroupFromElementZero) {
    BillSheet sheet;
    // Zeros put in before the handlers listen stay until some element changes.
    for (int i = 0; i < kLineRows; ++i) sheet.set(Field::Text5, i, u"0.0000");
    sheet.set(Field::Text5, 3, u"0.5000");
    std::vector<int> emptied;
    sheet.subscribe(Field::Text5, [&](int i) {
        if (sheet.text(Field::Text5, i).empty()) emptied.push_back(i);
    });
    connectZeroBlanking(sheet);
    sheet.set(Field::Text5, 6, u"-1");
    for (int i = 0; i < kLineRows; ++i)
        EXPECT_EQ(sheet.text(Field::Text5, i), i == 3 ? u"0.5000" : u"") << i;
    // Every element that went to empty was one notification, in index order.
    EXPECT_EQ(emptied, (std::vector<int>{0, 1, 2, 4, 5, 6, 7}));
}

TEST(ZeroBlanking, OperatorFirstKeystrokeInAmountField) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    for (const auto& [key, kept] :
         {std::pair{u"0", false}, {u"-", false}, {u".", false}, {u"1", true}, {u"9", true}}) {
        sheet.set(Field::Text7, 0, u"");
        sheet.set(Field::Text7, 0, key);
        EXPECT_EQ(sheet.text(Field::Text7, 0).empty(), !kept) << toUtf8(key);
    }
}

}  // namespace
}  // namespace cubrix
