#include "bill/zero_blanking.h"

namespace cubrix {
namespace {

void blankIfBelow(BillSheet& sheet, FieldRef r, std::u16string_view threshold) {
    const std::u16string& text = sheet.text(r);
    // An empty field sorts first too; setting it empty again would change nothing.
    if (!text.empty() && sortsBefore(text, threshold)) sheet.set(r, u"");
}

void blankColumn(BillSheet& sheet, Field column, std::u16string_view threshold) {
    for (int i = 0; i < kLineRows; ++i) blankIfBelow(sheet, {column, i}, threshold);
}

}  // namespace

void Text5_Change(BillSheet& sheet, int /*index*/) {
    blankColumn(sheet, Field::Text5, kVolumeThreshold);
}

void Text7_Change(BillSheet& sheet, int /*index*/) {
    blankColumn(sheet, Field::Text7, kAmountThreshold);
}

void Text8_Change(BillSheet& sheet) {
    blankIfBelow(sheet, {Field::Text8}, kVolumeThreshold);
}

void Text9_Change(BillSheet& sheet) {
    blankIfBelow(sheet, {Field::Text9}, kAmountThreshold);
}

void connectZeroBlanking(BillSheet& sheet) {
    sheet.subscribe(Field::Text5, [&sheet](int i) { Text5_Change(sheet, i); });
    sheet.subscribe(Field::Text7, [&sheet](int i) { Text7_Change(sheet, i); });
    sheet.subscribe(Field::Text8, [&sheet](int) { Text8_Change(sheet); });
    sheet.subscribe(Field::Text9, [&sheet](int) { Text9_Change(sheet); });
}

}  // namespace cubrix
