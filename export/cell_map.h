// Where each field of the bill lands in the bill workbook's sheet, in the
// order the export writes them.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "bill/field.h"

namespace cubrix {

inline constexpr std::u16string_view kBillSheetName = u"Tarnel账单";
inline constexpr int kFirstLineSheetRow = 5;

struct CellTarget {
    FieldRef field;
    int row;
    int column;
    bool numeric;  // a bill number (line field or total), not a party text
};

inline constexpr int kMappedCells = 65;

// The longest text a cell of the bill workbook (an .xls file) holds, in
// UTF-16 code units.
inline constexpr std::size_t kMaxCellText = 32767;

// Line rows 0..7 to sheet rows 5..12, columns 1..7; then the header, the
// measurer, the totals and two of the four captions.
const std::array<CellTarget, kMappedCells>& cellMap();

}  // namespace cubrix
