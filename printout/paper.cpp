#include "printout/paper.h"

#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <cmath>

namespace cubrix {
namespace {

constexpr double kFormWidthInches = 9.5;
constexpr double kFormLengthInches = 11;
// The sprocket holes take about 19 mm each side of the 241 mm form.
constexpr double kFormSideMm = 19;

struct PaperFacts {
    Paper paper;
    const char* key;
    const char* name;
};

constexpr std::array<PaperFacts, kPapers.size()> kFacts = {{
    {Paper::A4Portrait, "a4", "A4 纵向"},
    {Paper::A5Landscape, "a5", "A5 横向"},
    {Paper::Form241_1, "241-1", "241-1 一等分（241×279 mm）"},
    {Paper::Form241_2, "241-2", "241-2 二等分（241×140 mm）"},
    {Paper::Form241_3, "241-3", "241-3 三等分（241×93 mm）"},
}};

const PaperFacts& factsOf(Paper paper) {
    return kFacts[static_cast<std::size_t>(paper)];
}

// Whole, half or a third of the 11-inch form, exact in points (72 to the
// inch: 792, 396 and 264).
QPageLayout continuousForm(Paper paper, int parts, double topAndBottomMm) {
    const QPageSize size(QSizeF(kFormWidthInches, kFormLengthInches / parts), QPageSize::Inch,
                         paperName(paper), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait,
                       QMarginsF(kFormSideMm, topAndBottomMm, kFormSideMm, topAndBottomMm),
                       QPageLayout::Millimeter);
}

}  // namespace

QPageLayout pageLayoutFor(Paper paper) {
    switch (paper) {
        case Paper::A5Landscape:
            return QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape,
                               QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        case Paper::Form241_1:
            return continuousForm(paper, 1, 15);
        case Paper::Form241_2:
            return continuousForm(paper, 2, 6);
        case Paper::Form241_3:
            return continuousForm(paper, 3, 4);
        case Paper::A4Portrait:
            break;
    }
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

QString paperName(Paper paper) {
    return QString::fromUtf8(factsOf(paper).name);
}

const char* paperKey(Paper paper) {
    return factsOf(paper).key;
}

std::optional<Paper> paperNamed(std::string_view key) {
    for (const PaperFacts& f : kFacts)
        if (key == f.key) return f.paper;
    return std::nullopt;
}

bool samePaperSize(const QSizeF& aMm, const QSizeF& bMm) {
    auto near = [](double x, double y) { return std::abs(x - y) <= kSamePaperMm; };
    return (near(aMm.width(), bMm.width()) && near(aMm.height(), bMm.height())) ||
           (near(aMm.width(), bMm.height()) && near(aMm.height(), bMm.width()));
}

std::optional<Paper> paperOf(const QPageLayout& layout) {
    // A printer may report a size a fraction of a millimetre off; the
    // orientation tells A5 landscape from a portrait A5 of a printer's own.
    const QSizeF theirs = layout.fullRect(QPageLayout::Millimeter).size();
    for (const Paper p : kPapers) {
        const QSizeF ours = pageLayoutFor(p).fullRect(QPageLayout::Millimeter).size();
        if (std::abs(theirs.width() - ours.width()) <= kSamePaperMm &&
            std::abs(theirs.height() - ours.height()) <= kSamePaperMm)
            return p;
    }
    return std::nullopt;
}

}  // namespace cubrix
