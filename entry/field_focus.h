// Keying a bill from the keyboard: entering a line input selects its text, and
// Up and Down move to the same column of the previous or next line, wrapping.
// Only the five input columns have these rules.
#pragma once

#include <cstdint>
#include <optional>

#include "bill/bill_sheet.h"
#include "entry/field_controls.h"

namespace cubrix {

inline constexpr std::int16_t kKeyUp = 38;  // virtual-key codes
inline constexpr std::int16_t kKeyDown = 40;

// The input columns the rules apply to.
constexpr bool hasEntryRules(Field f) {
    return f == Field::Text1 || f == Field::Text2 || f == Field::Text3 || f == Field::Text4 ||
           f == Field::Text6;
}

// The row that a key moves to from `row`, or nothing for keys other than Up and Down.
std::optional<int> rowAfterKey(int row, std::int16_t keyCode);

// Select on entry and row navigation for an input column A: A(index) got the
// focus, or a key went down in it. The shift state is not examined.
void inputGotFocus(const BillSheet& sheet, FieldControls& controls, Field column,
                   std::int16_t index);
void inputKeyDown(FieldControls& controls, Field column, std::int16_t index, std::int16_t& keyCode,
                  std::int16_t& shift);

// The handlers of the five input columns.
#define CUBRIX_INPUT_HANDLERS(N)                                                           \
    inline void Text##N##_GotFocus(const BillSheet& s, FieldControls& c, std::int16_t i) { \
        inputGotFocus(s, c, Field::Text##N, i);                                            \
    }                                                                                      \
    inline void Text##N##_KeyDown(FieldControls& c, std::int16_t i, std::int16_t& k,       \
                                  std::int16_t& sh) {                                      \
        inputKeyDown(c, Field::Text##N, i, k, sh);                                         \
    }
CUBRIX_INPUT_HANDLERS(1)
CUBRIX_INPUT_HANDLERS(2)
CUBRIX_INPUT_HANDLERS(3)
CUBRIX_INPUT_HANDLERS(4)
CUBRIX_INPUT_HANDLERS(6)
#undef CUBRIX_INPUT_HANDLERS

}  // namespace cubrix
