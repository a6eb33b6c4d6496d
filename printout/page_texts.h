// What the page drawn by the program carries, in the order of the bill
// workbook's printed page: the window's texts as the export writes them, the
// captions of all four caption boxes, the date and the amount in capitals.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "bill/bill_sheet.h"

namespace cubrix {

inline constexpr std::u16string_view kPageTitle = u"木材销售清单";
inline constexpr std::u16string_view kDateCaption = u"日期";
inline constexpr std::array<std::u16string_view, kLineColumns> kColumnHeads = {
    u"长(米)", u"宽(毫米)", u"厚(毫米)", u"件数", u"材积(立方米)", u"单价(元/立方米)", u"金额(元)"};
inline constexpr std::u16string_view kMeasurerCaption = u"检尺员";
inline constexpr std::u16string_view kTotalCaption = u"合计";
inline constexpr std::u16string_view kCapitalsCaption = u"大写金额";
inline constexpr std::u16string_view kHandlerCaption = u"经手人";
inline constexpr std::u16string_view kReceiverCaption = u"收货人";

struct CalendarDay {
    int year;
    int month;
    int day;
};

// One cell of the table: a figure stands right, as a sheet puts a number.
struct PageCell {
    std::u16string text;
    bool figure = false;
};

// A caption box's caption beside its value.
struct PartyEntry {
    std::u16string caption;
    std::u16string value;
};

struct PageTexts {
    std::u16string date;    // 2026年12月08日
    PartyEntry upperLeft;   // Combo3, Text10
    PartyEntry upperRight;  // Combo2, Text11
    std::array<std::array<PageCell, kLineColumns>, kLineRows> lines;
    std::u16string measurer;  // Text14
    PageCell totalVolume;     // Text8
    PageCell totalAmount;     // Text9, with two decimals when it is a figure
    PartyEntry lowerLeft;     // Combo4, Text13
    PartyEntry lowerRight;    // Combo1, Text12
    std::u16string capitals;  // empty when the total is empty or text
};

std::u16string dateOnPage(CalendarDay day);

PageTexts pageTexts(const BillSheet& sheet, CalendarDay today);

}  // namespace cubrix
