#include "app/text_fit.h"

#include <QFontMetricsF>
#include <array>

namespace cubrix {
namespace {

struct FitStep {
    qreal scale;  // of the box's point size
    int stretch;  // percent of the face's normal width
};

// Narrower first, so that the digits keep their height as long as they can;
// then smaller, after the box's own font. The last step (10 px high, 70 % wide at 10.5 pt) still
// reads and holds a 14-character total in a 65 px box.
constexpr std::array<FitStep, 10> kFitSteps{{
    {1.0, 90},
    {1.0, 80},
    {20.0 / 21, 80},
    {19.0 / 21, 80},
    {18.0 / 21, 80},
    {18.0 / 21, 75},
    {17.0 / 21, 75},
    {16.0 / 21, 75},
    {16.0 / 21, 70},
    {15.0 / 21, 70},
}};

}  // namespace

FittedFont fitFont(const QFont& base, const QString& text, qreal width) {
    if (QFontMetricsF(base).horizontalAdvance(text) <= width) return {base, true};
    QFont font = base;
    for (const FitStep& step : kFitSteps) {
        font.setPointSizeF(base.pointSizeF() * step.scale);
        font.setStretch(step.stretch);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width) return {font, true};
    }
    return {font, false};
}

}  // namespace cubrix
