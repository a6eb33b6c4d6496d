#include "printout/page_outputs.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

#include "printout/page_drawing.h"
#include "printout/pdf_text_maps.h"

namespace cubrix {
namespace {

constexpr double kMetresPerInch = 0.0254;
// QImageWriter's quality for PNG: 80 is zlib's level 1.
constexpr int kPngQuality = 80;

}  // namespace

bool writePdf(const QString& path, const PageTexts& page, const QPageLayout& layout) {
    // Opened here so that a folder without write access is told, not a
    // PDF of nothing.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QBuffer drawn;
    drawn.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter pdf(&drawn);
        pdf.setPageLayout(layout);
        pdf.setTitle(QString::fromStdU16String(std::u16string(kPageTitle)));
        pdf.setCreator(QStringLiteral("Cubrix"));
        painted = paintPage(pdf, page);
    }
    const QByteArray bytes = withIdeographText(drawn.data());
    return painted && file.write(bytes) == bytes.size() && file.flush();
}

QImage pagePicture(const PageTexts& page, const QPageLayout& layout, int dpi) {
    QImage image(layout.fullRectPixels(dpi).size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / kMetresPerInch));
    image.setDotsPerMeterY(qRound(dpi / kMetresPerInch));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawPage(painter, layOutPage(page, layout.paintRectPixels(dpi), image));
    painter.end();
    // Black on white: one byte a pixel makes the PNG that a paste asks for
    // several times quicker to encode and smaller to send.
    return image.convertToFormat(QImage::Format_Grayscale8);
}

}  // namespace cubrix

namespace cubrix {

QByteArray pngOf(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG", kPngQuality);
    return png;
}

}  // namespace cubrix
