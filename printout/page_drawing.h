// The bill's page drawn with QPainter on any paint device (printer, PDF
// writer, image): laid out first as boxes, each text already cut to its box,
// so that what is drawn can be checked without looking at pixels.
#pragma once

#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QString>
#include <vector>

#include "printout/page_texts.h"

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

namespace cubrix {

struct TextBox {
    QRectF rect;
    QString text;  // as drawn: shortened with "…" when the whole text is wider
    QString whole;
    QFont font;
    Qt::Alignment alignment;
};

struct PageDrawing {
    QRectF area;  // the part of the page drawn on, in device pixels
    std::vector<TextBox> texts;
    std::vector<QLineF> lines;  // the table's frame and the lines to write on
};

// The face the page is drawn in, at `points`.
QFont pageFont(double points, bool bold = false);

// Lays the page out in `area` (device pixels of `device`): the workbook's
// page at its own size where it fits, rows pressed together where the paper
// is lower, fonts made smaller where a row is too low for them.
PageDrawing layOutPage(const PageTexts& page, const QRectF& area, const QPaintDevice& device);

// Draws every box and line. Text is drawn as text (searchable in a PDF).
void drawPage(QPainter& painter, const PageDrawing& drawing);

// The operator's correction for a printer that feeds the form a little off:
// the whole drawing moved down and to the right (negative: up and left).
struct PageOffset {
    double downMm = 0;
    double rightMm = 0;
    bool operator==(const PageOffset&) const = default;
};
inline constexpr double kOffsetLimitMm = 20;
inline constexpr double kOffsetStepMm = 0.5;

// The page on a printer or PDF writer whose page layout is already set: its
// paint rectangle (inside the margins), moved by `offset`, is the area. False
// when the device cannot be painted on (a file that cannot be written, a
// printer gone).
bool paintPage(QPagedPaintDevice& device, const PageTexts& page, PageOffset offset = {});

}  // namespace cubrix
