// The papers the bill is drawn for: A4 portrait (as the workbook's page), A5
// landscape, and the 241 × 140 mm continuous form (二等分, half of an 11-inch
// form) that yards feed through dot-matrix printers for multi-part bills.
#pragma once

#include <QPageLayout>
#include <QString>
#include <array>

namespace cubrix {

enum class Paper { A4Portrait, A5Landscape, ContinuousForm };

inline constexpr std::array<Paper, 3> kPapers = {Paper::A4Portrait, Paper::A5Landscape,
                                                 Paper::ContinuousForm};

// The size, the orientation and margins that keep the page clear of the
// printer's edges (and of the continuous form's tractor strips).
QPageLayout pageLayoutFor(Paper paper);

// As the operator picks it: "A4 纵向", "A5 横向", "241 × 140 mm 连续纸（二等分）".
QString paperName(Paper paper);

// The paper whose size `layout` has, if it is one of ours.
bool paperOf(const QPageLayout& layout, Paper& paper);

}  // namespace cubrix
