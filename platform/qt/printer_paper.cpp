#include "platform/qt/printer_paper.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <limits>

#include "printout/paper.h"

#ifdef Q_OS_WIN
#include "platform/qt/windows_paper.h"
#endif

namespace cubrix {
namespace {

QSizeF portraitMm(const QPageSize& size) {
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return mm.width() <= mm.height() ? mm : mm.transposed();
}

double distance(const QSizeF& a, const QSizeF& b) {
    return std::abs(a.width() - b.width()) + std::abs(a.height() - b.height());
}

bool printsToFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

#ifndef Q_OS_WIN
constexpr double kMmPerInch = 25.4;
constexpr double kHundredths = 100;

// CUPS turns a custom size into hundredths of a millimetre and then into
// whole points, cutting short each time: 11/3 in (264 pt, 93.133 mm) would
// reach the driver as 263 pt, a form 0.35 mm short, which drifts off the
// perforation bill by bill. Rounded up to the next hundredth, every size
// comes out at its own point.
QPageSize sizeCupsKeeps(const QPageSize& size) {
    // Exact from the inches a form is made in; Qt rounds a converted size.
    const QSizeF mm = size.definitionUnits() == QPageSize::Inch ? size.definitionSize() * kMmPerInch
                                                                : size.size(QPageSize::Millimeter);
    const auto up = [](double v) { return std::ceil(v * kHundredths - 1e-6) / kHundredths; };
    return QPageSize(QSizeF(up(mm.width()), up(mm.height())), QPageSize::Millimeter, size.name(),
                     QPageSize::ExactMatch);
}
#endif

}  // namespace

void setPaperOnPrinter(QPrinter& printer, const QPageLayout& layout) {
    QPageLayout onPrinter = layout;
    if (!printsToFile(printer)) {
        const QSizeF ours = portraitMm(layout.pageSize());
        QPageSize best;
        double bestDistance = std::numeric_limits<double>::infinity();
        for (const QPageSize& theirs : QPrinterInfo(printer).supportedPageSizes()) {
            const QSizeF size = portraitMm(theirs);
            if (samePaperSize(size, ours) && distance(size, ours) < bestDistance) {
                best = theirs;
                bestDistance = distance(size, ours);
            }
        }
        if (best.isValid()) onPrinter.setPageSize(best);
#ifndef Q_OS_WIN
        else if (layout.pageSize().id() == QPageSize::Custom)
            onPrinter.setPageSize(sizeCupsKeeps(layout.pageSize()));
#endif
    }
    printer.setPageLayout(onPrinter);
}

bool printerPresent(const QPrinter& printer) {
    return printsToFile(printer) || !QPrinterInfo(printer).isNull();
}

std::optional<QSizeF> paperTakenMm(const QPrinter& printer) {
    const QPageSize asked = printer.pageLayout().pageSize();
    if (printsToFile(printer)) return portraitMm(asked);
#ifdef Q_OS_WIN
    // The driver itself says what it makes of the page: a size it does not
    // know may come back as a paper of its own.
    return windowsPaperTakenMm(printer.printerName(), asked);
#else
    const QPrinterInfo info(printer);
    if (info.isNull()) return std::nullopt;
    for (const QPageSize& theirs : info.supportedPageSizes())
        if (theirs.isEquivalentTo(asked) || theirs.key() == asked.key()) return portraitMm(asked);
    if (info.supportsCustomPageSizes()) return portraitMm(asked);
    // CUPS hands a size that the driver neither lists nor can make to its
    // default paper.
    return portraitMm(info.defaultPageSize());
#endif
}

}  // namespace cubrix
