#include "entry/field_focus.h"

namespace cubrix {

std::optional<int> rowAfterKey(int row, std::int16_t keyCode) {
    constexpr int last = kLineRows - 1;
    if (keyCode == kKeyDown) return row == last ? 0 : row + 1;
    if (keyCode == kKeyUp) return row == 0 ? last : row - 1;
    return std::nullopt;
}

void inputGotFocus(const BillSheet& sheet, FieldControls& controls, Field column,
                   std::int16_t index) {
    const FieldRef field{column, index};
    controls.setSelection(field, 0, static_cast<int>(sheet.text(field).size()));
}

void inputKeyDown(FieldControls& controls, Field column, std::int16_t index, std::int16_t& keyCode,
                  std::int16_t& /*shift*/) {
    if (const auto row = rowAfterKey(index, keyCode)) controls.setFocus({column, *row});
}

}  // namespace cubrix
