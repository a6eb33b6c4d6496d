// Drawing a computed figure whole in a narrow box: the face the box asks for,
// narrowed and then made smaller step by step until the text fits.
#pragma once

#include <QFont>
#include <QString>

namespace cubrix {

struct FittedFont {
    QFont font;
    bool fits = true;  // false: even the smallest step is too wide, the text is cut
};

// The first step of the box's own font in which `text` is at most `width`
// pixels wide; the last step when none is.
FittedFont fitFont(const QFont& base, const QString& text, qreal width);

}  // namespace cubrix
