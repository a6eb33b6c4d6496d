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
