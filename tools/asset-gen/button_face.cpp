#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "cjk_font.h"
#include "pictures.h"

namespace assetgen {
namespace {

constexpr qreal kRadius = 5;

// Centres the label on its ink, not on the font's ascent and descent, which
// for CJK fonts would sit the characters visibly high.
QPainterPath centredLabel(const QString& label, const QFont& font, const QRectF& box) {
    QPainterPath path;
    path.addText(0, 0, font, label);
    const QRectF ink = path.boundingRect();
    const QPointF shift = box.center() - ink.center();
    return path.translated(qRound(shift.x()), qRound(shift.y()));
}

void paintGlossyPlate(QPainter& p, const FaceStyle& s, const QRectF& plate) {
    QLinearGradient body(0, plate.top(), 0, plate.bottom());
    body.setColorAt(0, s.top);
    body.setColorAt(1, s.bottom);
    p.setPen(QPen(s.bottom.darker(140), 1));
    p.setBrush(body);
    p.drawRoundedRect(plate, kRadius, kRadius);

    // The gloss: a pale sheen over the upper half that fades downwards.
    const QRectF sheen(plate.left() + 1.5, plate.top() + 1.5, plate.width() - 3,
                       plate.height() / 2 - 1);
    QLinearGradient shine(0, sheen.top(), 0, sheen.bottom());
    shine.setColorAt(0, QColor(255, 255, 255, 120));
    shine.setColorAt(1, QColor(255, 255, 255, 25));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(sheen, kRadius - 1.5, kRadius - 1.5);
}

void paintRaisedPlate(QPainter& p, const FaceStyle& s, const QRectF& plate) {
    QLinearGradient body(0, plate.top(), 0, plate.bottom());
    body.setColorAt(0, s.top);
    body.setColorAt(1, s.bottom);
    p.setPen(QPen(QColor(110, 112, 118), 1));
    p.setBrush(body);
    p.drawRoundedRect(plate, kRadius - 1, kRadius - 1);

    // Bevel: lit from the upper left.
    const QRectF inner = plate.adjusted(1, 1, -1, -1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawLine(QPointF(inner.left() + 3, inner.top()), QPointF(inner.right() - 3, inner.top()));
    p.drawLine(QPointF(inner.left(), inner.top() + 3), QPointF(inner.left(), inner.bottom() - 3));
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.drawLine(QPointF(inner.left() + 3, inner.bottom()),
               QPointF(inner.right() - 3, inner.bottom()));
    p.drawLine(QPointF(inner.right(), inner.top() + 3), QPointF(inner.right(), inner.bottom() - 3));
}

}  // namespace

QImage drawButtonFace(const FaceStyle& s, qreal scale) {
    QImage image(QSize(s.width, s.height) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);  // drawn in the window's own units
    image.fill(s.surround);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Half-pixel inset puts the 1 px rim exactly on the outermost pixels.
    const QRectF plate(0.5, 0.5, s.width - 1, s.height - 1);
    if (s.raised) {
        paintRaisedPlate(p, s, plate);
    } else {
        paintGlossyPlate(p, s, plate);
    }

    const QFont font = cjkFont(s.height >= 30 ? 14 : 13, QFont::Bold);
    const QPainterPath label = centredLabel(s.label, font, QRectF(0, 0, s.width, s.height));
    p.setPen(Qt::NoPen);
    if (!s.raised) {
        // A faint drop shadow keeps white text readable on the bright sheen.
        p.fillPath(label.translated(0, 1), QColor(0, 20, 60, 110));
    }
    p.fillPath(label, s.text);
    return image;
}

}  // namespace assetgen
