#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace assetgen {

// The whole window backdrop: title band, perforated frame, bill panel, footer.
QImage drawBackground();

// A small computer monitor, laid out separately for each icon size.
QImage drawMonitorIcon(int size);

struct FaceStyle {
    QString label;
    int width;
    int height;
    QColor top;     // plate colour at its upper edge
    QColor bottom;  // plate colour at its lower edge
    QColor text;
    QColor surround;  // what the button shows outside the rounded corners
    bool raised;      // bevelled grey plate instead of a glossy one
};

QImage drawButtonFace(const FaceStyle& style);

}  // namespace assetgen
