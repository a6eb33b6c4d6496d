#include "export/cell_map.h"

namespace cubrix {
namespace {

constexpr std::array<CellTarget, kMappedCells> buildCellMap() {
    std::array<CellTarget, kMappedCells> map{};
    int n = 0;
    for (int i = 0; i < kLineRows; ++i)
        for (int c = 0; c < kLineColumns; ++c)
            map[n++] = {{static_cast<Field>(c), i}, kFirstLineSheetRow + i, c + 1, true};
    map[n++] = {{Field::Text10}, 3, 2, false};
    map[n++] = {{Field::Text11}, 3, 6, false};
    map[n++] = {{Field::Text12}, 14, 6, false};
    map[n++] = {{Field::Text13}, 14, 2, false};
    map[n++] = {{Field::Text14}, 13, 2, false};
    map[n++] = {{Field::Text8}, 13, 5, true};
    map[n++] = {{Field::Text9}, 13, 6, true};
    map[n++] = {{Field::Combo1}, 14, 5, false};
    map[n++] = {{Field::Combo2}, 3, 5, false};
    return map;
}

constexpr auto kCellMap = buildCellMap();

}  // namespace

const std::array<CellTarget, kMappedCells>& cellMap() {
    return kCellMap;
}

}  // namespace cubrix
