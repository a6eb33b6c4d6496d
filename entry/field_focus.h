// Keying a bill from the keyboard: entering a line input selects its text, and
// Up and Down move to the same column of the previous or next line, wrapping.
// Only the five input columns have these rules.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "bill/bill_sheet.h"
#include "entry/field_controls.h"

namespace cubrix {

inline constexpr std::int16_t kKeyUp = 38;  // virtual-key codes
inline constexpr std::int16_t kKeyDown = 40;

// The row that a key moves to from `row`, or nothing for keys other than Up and Down.
std::optional<int> rowAfterKey(int row, std::int16_t keyCode);

// The rules every input column shares; the column's named handlers below are
// these with the column filled in.
void selectWholeText(const BillSheet& sheet, FieldControls& controls, FieldRef field);
void moveWithinColumn(FieldControls& controls, FieldRef field, std::int16_t keyCode);

// A(index) got the focus, or a key went down in it. The shift state is not examined.
template <Field Column>
void inputGotFocus(const BillSheet& sheet, FieldControls& controls, std::int16_t index) {
    selectWholeText(sheet, controls, {Column, index});
}
template <Field Column>
void inputKeyDown(FieldControls& controls, std::int16_t index, std::int16_t& keyCode,
                  std::int16_t& /*shift*/) {
    moveWithinColumn(controls, {Column, index}, keyCode);
}

// The handlers of the five input columns.
inline constexpr auto& Text1_GotFocus = inputGotFocus<Field::Text1>;
inline constexpr auto& Text2_GotFocus = inputGotFocus<Field::Text2>;
inline constexpr auto& Text3_GotFocus = inputGotFocus<Field::Text3>;
inline constexpr auto& Text4_GotFocus = inputGotFocus<Field::Text4>;
inline constexpr auto& Text6_GotFocus = inputGotFocus<Field::Text6>;
inline constexpr auto& Text1_KeyDown = inputKeyDown<Field::Text1>;
inline constexpr auto& Text2_KeyDown = inputKeyDown<Field::Text2>;
inline constexpr auto& Text3_KeyDown = inputKeyDown<Field::Text3>;
inline constexpr auto& Text4_KeyDown = inputKeyDown<Field::Text4>;
inline constexpr auto& Text6_KeyDown = inputKeyDown<Field::Text6>;

// Which handlers the window binds to each input column.
struct InputColumnHandlers {
    Field column;
    void (*gotFocus)(const BillSheet&, FieldControls&, std::int16_t);
    void (*keyDown)(FieldControls&, std::int16_t, std::int16_t&, std::int16_t&);
};
inline constexpr std::array<InputColumnHandlers, 5> kInputColumnHandlers{{
    {Field::Text1, Text1_GotFocus, Text1_KeyDown},
    {Field::Text2, Text2_GotFocus, Text2_KeyDown},
    {Field::Text3, Text3_GotFocus, Text3_KeyDown},
    {Field::Text4, Text4_GotFocus, Text4_KeyDown},
    {Field::Text6, Text6_GotFocus, Text6_KeyDown},
}};

}  // namespace cubrix
