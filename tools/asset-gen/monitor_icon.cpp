#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "pictures.h"

namespace assetgen {
namespace {

// The layout is on a 16-unit grid; every larger size scales it by a whole
// number so every edge still falls on a pixel boundary.
struct Layout {
    QRectF cabinet{0, 1, 16, 12};
    QRectF screen{2, 3, 12, 6};
    QRectF lamp{11.5, 9.75, 2, 1.25};
    QRectF neck{6, 13, 4, 1};
    QRectF foot{3, 14, 10, 2};
};

QRectF scaled(const QRectF& r, qreal k) {
    return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k);
}

}  // namespace

void paintMonitorIcon(QPainter& p, int size) {
    const qreal k = size / 16.0;
    const bool smooth = size > 16;  // at 16 px crisp edges read better than soft ones
    p.setRenderHint(QPainter::Antialiasing, smooth);
    const Layout l;
    const QColor outline(60, 62, 68);
    // A rim as thick as one grid unit looks heavy beyond 16 px.
    const qreal rim = smooth ? qRound(k / 2) : 1;

    // Stand first so the cabinet's lower edge sits over the neck.
    QLinearGradient metal(0, scaled(l.neck, k).top(), 0, size);
    metal.setColorAt(0, QColor(150, 152, 158));
    metal.setColorAt(1, QColor(110, 112, 118));
    p.fillRect(scaled(l.neck, k), metal);
    const QRectF foot = scaled(l.foot, k);
    p.fillRect(foot, metal);
    p.fillRect(QRectF(foot.left(), foot.bottom() - rim, foot.width(), rim), outline);

    // Cabinet: grey with a light top and a dark rim.
    const QRectF cabinet = scaled(l.cabinet, k);
    QLinearGradient shell(0, cabinet.top(), 0, cabinet.bottom());
    shell.setColorAt(0, QColor(226, 227, 230));
    shell.setColorAt(1, QColor(160, 162, 168));
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    const qreal radius = smooth ? k : 0;
    p.drawRoundedRect(cabinet, radius, radius);
    p.setBrush(shell);
    p.drawRoundedRect(cabinet.adjusted(rim, rim, -rim, -rim), radius / 2, radius / 2);

    // Screen: deep blue rising to a brighter top, with a soft glare on larger sizes.
    const QRectF screen = scaled(l.screen, k);
    const qreal bezel = smooth ? k / 2 : 0;  // dark inner edge, only where there is room
    p.fillRect(screen.adjusted(-bezel, -bezel, bezel, bezel), QColor(40, 44, 56));
    QLinearGradient glass(0, screen.top(), 0, screen.bottom());
    glass.setColorAt(0, QColor(96, 160, 240));
    glass.setColorAt(1, QColor(20, 60, 170));
    p.fillRect(screen, glass);
    if (smooth) {
        QPainterPath glare;
        glare.moveTo(screen.topLeft());
        glare.lineTo(screen.left() + screen.width() * 0.6, screen.top());
        glare.lineTo(screen.left(), screen.top() + screen.height() * 0.7);
        glare.closeSubpath();
        p.fillPath(glare, QColor(255, 255, 255, 50));
    }

    // Power lamp, lower right of the bezel.
    const QRectF lamp = scaled(l.lamp, k);
    if (smooth) {
        QRadialGradient led(lamp.center(), lamp.height());
        led.setColorAt(0, QColor(150, 255, 140));
        led.setColorAt(1, QColor(20, 160, 40));
        p.setBrush(led);
        p.drawEllipse(lamp);
    } else {
        p.fillRect(QRect(12, 10, 2, 1), QColor(40, 200, 60));
    }
}

QImage drawMonitorIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintMonitorIcon(p, size);
    return image;
}

}  // namespace assetgen
