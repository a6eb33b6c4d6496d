#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "pictures.h"

namespace assetgen {

QByteArray drawMonitorIconSvg(int size) {
    QByteArray svg;
    QBuffer buffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setViewBox(QRect(0, 0, size, size));
    generator.setTitle(QStringLiteral("Cubrix"));
    {
        QPainter p(&generator);
        paintMonitorIcon(p, size);
    }
    return svg;
}

}  // namespace assetgen
