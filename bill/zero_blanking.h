// Zero blanking: computed fields whose text sorts before a threshold text are
// emptied as soon as they change, so zero and negative results show empty.
// The test compares texts by character code; no number is read.
#pragma once

#include <string_view>

#include "bill/bill_sheet.h"

namespace cubrix {

inline constexpr std::u16string_view kVolumeThreshold = u"0.00001";
inline constexpr std::u16string_view kAmountThreshold = u"0.01";

// Whether `text` sorts before `threshold` by character code: the first
// differing character decides; a proper beginning sorts first.
constexpr bool sortsBefore(std::u16string_view text, std::u16string_view threshold) {
    const std::size_t n = text.size() < threshold.size() ? text.size() : threshold.size();
    for (std::size_t i = 0; i < n; ++i)
        if (text[i] != threshold[i]) return text[i] < threshold[i];
    return text.size() < threshold.size();
}

// Change handlers. The array handlers check their whole group whichever
// element changed.
void Text5_Change(BillSheet& sheet, int index);
void Text7_Change(BillSheet& sheet, int index);
void Text8_Change(BillSheet& sheet);
void Text9_Change(BillSheet& sheet);

// Subscribes the four handlers to their fields.
void connectZeroBlanking(BillSheet& sheet);

}  // namespace cubrix
