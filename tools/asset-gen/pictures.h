#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

class QPainter;

namespace assetgen {

// Each picture is drawn in the window's units; `scale` 2 gives the sharper
// drawing for screens with two device pixels to the unit.

// The whole window backdrop: title band, perforated frame, bill panel, footer.
QImage drawBackground(qreal scale = 1);

// A small computer monitor on a `size` pixel square; sizes above 16 get
// smooth edges, a glare and a round lamp.
void paintMonitorIcon(QPainter& painter, int size);
QImage drawMonitorIcon(int size);

// The same monitor as a scalable picture, laid out as the `size` pixel one.
QByteArray drawMonitorIconSvg(int size);

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

QImage drawButtonFace(const FaceStyle& style, qreal scale = 1);

}  // namespace assetgen
