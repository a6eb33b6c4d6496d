#include "entry/field_focus.h"

namespace cubrix {

std::optional<int> rowAfterKey(int row, std::int16_t keyCode) {
    constexpr int last = kLineRows - 1;
    if (keyCode == kKeyDown) return row == last ? 0 : row + 1;
    if (keyCode == kKeyUp) return row == 0 ? last : row - 1;
    return std::nullopt;
}

void selectWholeText(const BillSheet& sheet, FieldControls& controls, FieldRef field) {
    controls.setSelection(field, 0, static_cast<int>(sheet.text(field).size()));
}

void moveWithinColumn(FieldControls& controls, FieldRef field, std::int16_t keyCode) {
    if (const auto row = rowAfterKey(field.index, keyCode)) controls.setFocus({field.field, *row});
}

}  // namespace cubrix
