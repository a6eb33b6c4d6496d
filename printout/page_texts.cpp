#include "printout/page_texts.h"

#include <cstdio>
#include <variant>

#include "bill/amount_in_capitals.h"
#include "bill/number_format.h"
#include "bill/utf8.h"
#include "export/cell_value.h"

namespace cubrix {
namespace {

// A text the export writes as a number is a figure; anything else stays the
// literal text it is in the workbook.
const double* figureOf(const CellValue& value) {
    return std::get_if<double>(&value);
}

PageCell cellOf(const std::u16string& text) {
    return {text, figureOf(cellValueFor(text, true)) != nullptr};
}

PartyEntry entryOf(const BillSheet& sheet, Field caption, Field value) {
    return {sheet.text(caption), sheet.text(value)};
}

}  // namespace

std::u16string dateOnPage(CalendarDay day) {
    char text[48];
    std::snprintf(text, sizeof text, "%d年%02d月%02d日", day.year, day.month, day.day);
    return fromUtf8(text);
}

PageTexts pageTexts(const BillSheet& sheet, CalendarDay today) {
    PageTexts page;
    page.date = dateOnPage(today);
    page.upperLeft = entryOf(sheet, Field::Combo3, Field::Text10);
    page.upperRight = entryOf(sheet, Field::Combo2, Field::Text11);
    for (int row = 0; row < kLineRows; ++row)
        for (int column = 0; column < kLineColumns; ++column)
            page.lines[row][column] = cellOf(sheet.text(static_cast<Field>(column), row));
    page.measurer = sheet.text(Field::Text14);
    page.totalVolume = cellOf(sheet.text(Field::Text8));
    page.lowerLeft = entryOf(sheet, Field::Combo4, Field::Text13);
    page.lowerRight = entryOf(sheet, Field::Combo1, Field::Text12);

    // The workbook shows the total amount to the fen and writes the capitals
    // from the same number; text there leaves the capitals empty.
    const std::u16string& total = sheet.text(Field::Text9);
    const CellValue value = cellValueFor(total, true);
    if (const double* amount = figureOf(value)) {
        char16_t buffer[kFormatBufferSize];
        page.totalAmount = {std::u16string(formatFixed(*amount, kAmountDecimals, buffer)), true};
        page.capitals = amountInCapitals(*amount);
    } else {
        page.totalAmount = {total, false};
    }
    return page;
}

}  // namespace cubrix
