#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "pictures.h"

namespace assetgen {
namespace {

constexpr int kWidth = 628;
constexpr int kHeight = 482;
constexpr int kTitleBottom = 62;       // first row below the title band
constexpr int kFrameBottom = 465;      // first row of the footer strip
const QRect kPanel(10, 81, 608, 367);  // (10,81)..(617,447) inclusive

QFont latinFont() {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Liberation Sans")});
    return font;
}

void paintTitleBand(QPainter& p) {
    QLinearGradient band(0, 0, 0, kTitleBottom);
    band.setColorAt(0.0, QColor(238, 239, 242));
    band.setColorAt(0.55, QColor(211, 213, 218));
    band.setColorAt(1.0, QColor(178, 180, 186));
    p.fillRect(QRect(0, 0, kWidth, kTitleBottom), band);

    QFont titleFont = latinFont();
    titleFont.setPixelSize(40);
    titleFont.setWeight(QFont::Bold);
    titleFont.setHintingPreference(QFont::PreferNoHinting);
    const QString title = QStringLiteral("Cubrix");
    const QFontMetricsF fm(titleFont);
    const qreal titleWidth = fm.horizontalAdvance(title);
    const qreal baseline = (kTitleBottom + fm.capHeight()) / 2.0;
    const qreal left = (kWidth - titleWidth) / 2.0;

    QPainterPath path;
    path.addText(left, baseline, titleFont, title);
    p.setRenderHint(QPainter::Antialiasing);
    // The light outline lifts the letters off the darker lower half of the band.
    p.strokePath(path,
                 QPen(QColor(248, 249, 252), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, QColor(74, 94, 140));

    QFont markFont = latinFont();
    markFont.setPixelSize(11);
    markFont.setHintingPreference(QFont::PreferNoHinting);
    p.setFont(markFont);
    p.setPen(QColor(112, 114, 120));
    p.drawText(QPointF(left + titleWidth + 6, baseline + 6), QStringLiteral("v2.0"));
    p.setRenderHint(QPainter::Antialiasing, false);
}

// Perforated metal: a staggered grid of dark holes, each with a lit lower
// edge. The grid is anchored to the image so the frame strips line up.
void paintPerforation(QPainter& p, const QRect& area) {
    p.fillRect(area, QColor(150, 152, 158));
    constexpr int kPitch = 5;
    for (int y = 62; y < kFrameBottom; y += kPitch) {
        const int offset = ((y - 62) / kPitch) % 2 == 0 ? 1 : 3;
        for (int x = offset; x < kWidth; x += kPitch) {
            const QRect hole(x, y + 1, 2, 2);
            if (!area.contains(hole)) continue;
            p.fillRect(hole, QColor(58, 60, 66));
            p.fillRect(QRect(x, y + 3, 2, 1), QColor(176, 178, 184));
        }
    }
}

}  // namespace

QImage drawBackground(qreal scale) {
    QImage image(QSize(kWidth, kHeight) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);  // drawn in the window's own units
    QPainter p(&image);

    paintTitleBand(p);
    paintPerforation(p, QRect(0, kTitleBottom, kWidth, kFrameBottom - kTitleBottom));

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(196, 197, 201));
    p.drawRoundedRect(QRectF(kPanel), 6, 6);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.fillRect(QRect(0, kFrameBottom, kWidth, kHeight - kFrameBottom), QColor(179, 186, 194));
    return image;
}

}  // namespace assetgen
