#include "printout/paper.h"

#include <QPageSize>
#include <QRectF>
#include <QSizeF>

namespace cubrix {
namespace {

// 241 mm with its tractor strips (9.5 in), 140 mm down to the perforation.
constexpr double kFormWidthMm = 241;
constexpr double kFormHeightMm = 140;

QPageSize continuousForm() {
    return QPageSize(QSizeF(kFormWidthMm, kFormHeightMm), QPageSize::Millimeter,
                     paperName(Paper::ContinuousForm), QPageSize::ExactMatch);
}

}  // namespace

QPageLayout pageLayoutFor(Paper paper) {
    switch (paper) {
        case Paper::A5Landscape:
            return QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape,
                               QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        case Paper::ContinuousForm:
            // The sprocket holes take about 19 mm each side.
            return QPageLayout(continuousForm(), QPageLayout::Portrait, QMarginsF(19, 6, 19, 6),
                               QPageLayout::Millimeter);
        case Paper::A4Portrait:
            break;
    }
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

QString paperName(Paper paper) {
    switch (paper) {
        case Paper::A5Landscape:
            return QStringLiteral("A5 横向");
        case Paper::ContinuousForm:
            return QStringLiteral("241 × 140 mm 连续纸（二等分）");
        case Paper::A4Portrait:
            break;
    }
    return QStringLiteral("A4 纵向");
}

bool paperOf(const QPageLayout& layout, Paper& paper) {
    for (const Paper p : kPapers) {
        // A printer may report a size a fraction of a millimetre off.
        const QSizeF theirs = layout.fullRect(QPageLayout::Millimeter).size();
        const QSizeF ours = pageLayoutFor(p).fullRect(QPageLayout::Millimeter).size();
        if (qAbs(theirs.width() - ours.width()) < 1 && qAbs(theirs.height() - ours.height()) < 1) {
            paper = p;
            return true;
        }
    }
    return false;
}

}  // namespace cubrix
