// Everything the window shows, where it stands and what it starts with. All
// positions are in twips, 15 to the pixel, from the window's top-left corner.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "bill/field.h"

namespace cubrix {

inline constexpr int kTwipsPerPixel = 15;

struct TwipRect {
    int left, top, width, height;
};

constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
QRect toPixels(const TwipRect& r);

inline constexpr TwipRect kFormTwips{0, 0, 9405, 7215};  // 627 x 481 px, no frame

enum class ControlKind { TextBox, ComboBox, Label, Button };

// One control of the window. Text boxes and combo boxes show the bill field of
// the same name; labels and buttons have their own names.
struct ControlSpec {
    ControlKind kind;
    QString name;  // "Text5(3)", "Combo2", "Label1(0)", "Command4"
    TwipRect rect;
    FieldRef field{Field::Text1, 0};  // text and combo boxes only
    QString caption;                  // labels
    QStringList items;                // combo boxes, in list order
};

// The text boxes of the line grid: row i, column c (0..6 for Text1..Text7).
TwipRect gridCell(int column, int row);

// Every control except the timer, bottom of the stacking first (each next one
// lies above those before it).
const std::vector<ControlSpec>& controlsBottomUp();

// Names of the controls that take focus, in tab order.
const std::vector<QString>& tabCycle();

// Button faces (resource names) and the colour where a face leaves the button bare.
struct ButtonLook {
    QString name;
    QString face;
    QString pressedFace;  // empty: one face only
    QColor background;    // invalid: the platform's default
};
const std::array<ButtonLook, 5>& buttonLooks();

}  // namespace cubrix
