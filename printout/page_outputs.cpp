#include "printout/page_outputs.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>

#include "printout/page_drawing.h"

namespace cubrix {
namespace {

constexpr double kMetresPerInch = 0.0254;

}  // namespace

bool writePdf(const QString& path, const PageTexts& page, const QPageLayout& layout) {
    // Opened here so that a folder without write access is told, not a
    // PDF of nothing.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    bool painted = false;
    {
        QPdfWriter pdf(&file);
        pdf.setPageLayout(layout);
        pdf.setTitle(QString::fromStdU16String(std::u16string(kPageTitle)));
        pdf.setCreator(QStringLiteral("Cubrix"));
        painted = paintPage(pdf, page);
    }
    return painted && file.error() == QFileDevice::NoError && file.flush();
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
    return image;
}

}  // namespace cubrix
