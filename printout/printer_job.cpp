#include "printout/printer_job.h"

#include <QBuffer>
#include <QFile>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QSaveFile>
#include <utility>
#include <vector>

#include "printout/pdf_text_maps.h"

#ifdef CUBRIX_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace cubrix {
namespace {

// Qt's CUPS printer and the PDF file printer draw with Qt's PDF writer; a
// preview draws pictures, a Windows printer through the system.
bool drawsPdf(QPrinter& printer) {
    const QPaintEngine* engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

// The PDF that Qt has written to the printer's file, mended in place.
bool mendFile(const QString& path) {
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = written.readAll();
    written.close();
    const QByteArray mended = withIdeographText(bytes);
    if (mended == bytes) return true;
    QSaveFile file(path);
    file.setDirectWriteFallback(true);  // a folder that takes no new files
    return file.open(QIODevice::WriteOnly) && file.write(mended) == mended.size() && file.commit();
}

#ifdef CUBRIX_HAVE_CUPS

// The print dialog's further CUPS options (pages per sheet, banners …), as
// name and value after one another under this key of Qt's CUPS print engine.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The pages drawn as the printer would draw them, into a PDF of their own.
QByteArray drawnPdf(QPrinter& printer, const PagePainter& paint, bool& painted) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(printer.resolution());
        pdf.setPageLayout(printer.pageLayout());
        pdf.setTitle(printer.docName());
        pdf.setCreator(printer.creator());
        painted = paint(pdf);
    }
    return withIdeographText(buffer.data());
}

// The job options that Qt's own CUPS printer sends with its PDF.
std::vector<std::pair<QByteArray, QByteArray>> jobOptions(QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const bool portrait = layout.orientation() == QPageLayout::Portrait;
    std::vector<std::pair<QByteArray, QByteArray>> options;
    options.emplace_back("media", layout.pageSize().key().toLocal8Bit());
    if (printer.copyCount() > 1) {
        options.emplace_back("copies", QByteArray::number(printer.copyCount()));
        if (printer.collateCopies()) options.emplace_back("Collate", "True");
    }
    switch (printer.duplex()) {
        case QPrinter::DuplexNone:
            options.emplace_back("sides", "one-sided");
            break;
        case QPrinter::DuplexAuto:
            options.emplace_back("sides",
                                 portrait ? "two-sided-long-edge" : "two-sided-short-edge");
            break;
        case QPrinter::DuplexLongSide:
            options.emplace_back("sides", "two-sided-long-edge");
            break;
        case QPrinter::DuplexShortSide:
            options.emplace_back("sides", "two-sided-short-edge");
            break;
    }
    if (!portrait) options.emplace_back("landscape", "");
    const QStringList more = printer.printEngine()->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < more.size(); i += 2)
        options.emplace_back(more[i].toLocal8Bit(), more[i + 1].toLocal8Bit());
    return options;
}

bool sendToQueue(QPrinter& printer, const QByteArray& pdf) {
    char path[1024];
    const int fd = cupsTempFd(path, sizeof path);
    if (fd < 0) return false;
    QFile file;
    const bool written = file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
                         file.write(pdf) == pdf.size() && file.flush();
    file.close();
    auto options = jobOptions(printer);
    std::vector<cups_option_t> list;
    for (auto& [name, value] : options) list.push_back({name.data(), value.data()});
    // The queue without the instance that a printer's name may carry.
    const QByteArray queue = printer.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const int job = written ? cupsPrintFile(queue.constData(), path,
                                            printer.docName().toLocal8Bit().constData(),
                                            static_cast<int>(list.size()), list.data())
                            : 0;
    QFile::remove(QString::fromLocal8Bit(path));
    return job > 0;
}

#endif

}  // namespace

bool printPages(QPrinter& printer, const PagePainter& paint) {
    if (!drawsPdf(printer)) return paint(printer);
    if (!printer.outputFileName().isEmpty())
        return paint(printer) && mendFile(printer.outputFileName());
#ifdef CUBRIX_HAVE_CUPS
    bool painted = false;
    const QByteArray pdf = drawnPdf(printer, paint, painted);
    return painted && sendToQueue(printer, pdf);
#else
    return paint(printer);
#endif
}

}  // namespace cubrix
