// The papers the bill is drawn for: A4 portrait (as the workbook's page), A5
// landscape, and the 241 mm continuous forms that yards feed through
// dot-matrix printers for multi-part bills. The forms are made in inches,
// 9.5 in wide, torn off every 11 in (一等分), 5.5 in (二等分) or 11/3 in
// (三等分): a page a fraction of a millimetre off drifts a little further
// from the perforation with every bill.
#pragma once

#include <QPageLayout>
#include <QString>
#include <array>
#include <optional>
#include <string_view>

namespace cubrix {

enum class Paper { A4Portrait, A5Landscape, Form241_1, Form241_2, Form241_3 };

inline constexpr std::array<Paper, 5> kPapers = {
    Paper::A4Portrait, Paper::A5Landscape, Paper::Form241_1, Paper::Form241_2, Paper::Form241_3};

// How far a printer's size may be from ours and still be the same paper.
inline constexpr double kSamePaperMm = 1;

// The size, the orientation and margins that keep the page clear of the
// printer's edges (and of the continuous form's tractor strips).
QPageLayout pageLayoutFor(Paper paper);

// As the operator picks it: "A4 纵向", "A5 横向", "241-2 二等分（241×140 mm）" …
QString paperName(Paper paper);

// The short name kept in the settings and taken on a command line: "a4",
// "a5", "241-1", "241-2", "241-3".
const char* paperKey(Paper paper);
std::optional<Paper> paperNamed(std::string_view key);

// The paper whose size `layout` has, if it is one of ours.
std::optional<Paper> paperOf(const QPageLayout& layout);

// Whether two sizes are the same paper, turned either way.
bool samePaperSize(const QSizeF& aMm, const QSizeF& bMm);

}  // namespace cubrix
