// The worked example through the program's own ways out, for the print test
// and the README's pictures:
//   printout_probe --printer NAME [--paper a4|a5|241-1|241-2|241-3]  as the print dialog's OK
//   printout_probe --print-to-file FILE [--paper …]     the same, printed to a file
//   printout_probe --pdf FILE [--paper …]               as 保存为 PDF… once named
//   printout_probe --png FILE [--paper …]               as 复制为图片 puts it
// --bill empty draws an empty bill instead.
// Exit code 0 when the page was handed over, 1 when not, 2 for bad arguments.
#include <QApplication>
#include <QDate>
#include <QPrinter>
#include <cstdio>
#include <cstring>

#include "app/printout_commands.h"
#include "printout/page_outputs.h"
#include "printout/paper.h"
#include "tests/printout/worked_example.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* printer = nullptr;
    const char* printFile = nullptr;
    const char* pdf = nullptr;
    const char* png = nullptr;
    cubrix::Paper paper = cubrix::Paper::A4Portrait;
    bool empty = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* value = argv[i + 1];
        if (!std::strcmp(argv[i], "--printer")) {
            printer = value;
        } else if (!std::strcmp(argv[i], "--print-to-file")) {
            printFile = value;
        } else if (!std::strcmp(argv[i], "--pdf")) {
            pdf = value;
        } else if (!std::strcmp(argv[i], "--png")) {
            png = value;
        } else if (!std::strcmp(argv[i], "--bill")) {
            empty = !std::strcmp(value, "empty");
        } else if (!std::strcmp(argv[i], "--paper")) {
            const auto named = cubrix::paperNamed(value);
            if (!named) {
                std::fprintf(stderr, "unknown paper %s\n", value);
                return 2;
            }
            paper = *named;
        } else {
            std::fprintf(stderr, "unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    cubrix::BillSheet sheet;
    if (!empty) cubrix::testing::keyWorkedExample(sheet);
    const cubrix::PageTexts page =
        cubrix::pageTexts(sheet, cubrix::calendarDay(QDate::currentDate()));
    const QPageLayout layout = cubrix::pageLayoutFor(paper);
    if (printer) {
        QPrinter device(QPrinter::HighResolution);
        device.setPrinterName(QString::fromLocal8Bit(printer));
        if (!device.isValid() || device.printerName() != QString::fromLocal8Bit(printer)) {
            std::fprintf(stderr, "no printer named %s\n", printer);
            return 1;
        }
        device.setDocName(QStringLiteral("木材销售清单"));
        const cubrix::PrintOutcome outcome = cubrix::printOnPrinter(device, page, layout, {});
        if (!outcome.printed) std::fprintf(stderr, "%s\n", qPrintable(outcome.message));
        return outcome.printed ? 0 : 1;
    }
    if (printFile) {
        QPrinter device(QPrinter::HighResolution);
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(QString::fromLocal8Bit(printFile));
        return cubrix::printOnPrinter(device, page, layout, {}).printed ? 0 : 1;
    }
    if (pdf) return cubrix::writePdf(QString::fromLocal8Bit(pdf), page, layout) ? 0 : 1;
    if (png) return cubrix::pagePicture(page, layout).save(QString::fromLocal8Bit(png)) ? 0 : 1;
    std::fprintf(stderr, "usage: printout_probe --printer NAME | --pdf FILE | --png FILE\n");
    return 2;
}
