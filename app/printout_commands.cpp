#include "app/printout_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

#include "app/print_preview.h"
#include "app/window_messages.h"
#include "bill/recalculation.h"
#include "export/export_messages.h"
#include "platform/qt/message_box.h"
#include "platform/qt/printer_paper.h"
#include "printout/page_drawing.h"
#include "printout/page_outputs.h"
#include "printout/paper.h"
#include "printout/printer_job.h"

namespace cubrix {

struct PreviewParts {
    QPrinter printer{QPrinter::HighResolution};
    QPointer<PrintPreview> dialog;
    // The dialog, a child of the window, goes first: it draws on the printer.
    ~PreviewParts() { delete dialog.data(); }
};

namespace {

const char* const kPdfSuffix = ".pdf";
// The preview large enough to read the figures on the page.
constexpr double kPreviewShareOfScreen = 0.8;

void keepChoices(PrintoutDesk& desk) {
    if (desk.settings) writeChoices(*desk.settings, desk.choices);
}

void preview(QWidget& form, const PageTexts& page, PrintoutDesk& desk) {
    if (!desk.preview) desk.preview = std::make_shared<PreviewParts>();
    PreviewParts& parts = *desk.preview;
    if (!parts.dialog) {
        auto* dialog = new PrintPreview(
            parts.printer, desk.choices, [&desk] { keepChoices(desk); }, &form);
        if (const QScreen* screen = form.screen())
            dialog->resize(screen->availableGeometry().size() * kPreviewShareOfScreen);
        parts.dialog = dialog;
    }
    parts.dialog->showBill(page);
    parts.dialog->exec();
}

void saveAsPdf(QWidget& form, const PageTexts& page, PrintoutDesk& desk) {
    QString folder = desk.choices.pdfFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = desk.askPdfPath(&form, suggestedPdfPath(folder, QDate::currentDate()));
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(kPdfSuffix), Qt::CaseInsensitive))
        path += QLatin1String(kPdfSuffix);
    // The PDF stays centred: the offsets mend a printer's feed, not the page.
    if (!writePdf(path, page, desk.choices.paper)) {
        showMessage(&form, pdfNotWrittenMessage(QDir::toNativeSeparators(path)));
        return;
    }
    desk.choices.pdfFolder = QFileInfo(path).absolutePath();
    keepChoices(desk);
}

void copyPicture(const PageTexts& page, const PrintoutDesk& desk) {
    const QImage picture = pagePicture(page, desk.choices.paper);
    auto* data = new QMimeData;
    // "image/png" is what chat programs ask for: made once here, at a
    // lighter compression than Qt would use on each paste; the image serves
    // every other format.
    data->setData(QStringLiteral("image/png"), pngOf(picture));
    data->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

PrintoutDesk printoutDeskFrom(std::unique_ptr<QSettings> settings) {
    PrintoutDesk desk;
    if (settings) desk.choices = readChoices(*settings);
    desk.settings = std::move(settings);
    return desk;
}

namespace {

std::optional<PaperMismatch> mismatchOf(const QSizeF& takenMm, const QPageLayout& paper) {
    const QSizeF wanted = paper.pageSize().size(QPageSize::Millimeter);
    if (samePaperSize(takenMm, wanted)) return std::nullopt;
    const auto ours = paperOf(paper);
    return PaperMismatch{ours ? paperName(*ours) : paper.pageSize().name(), wanted, takenMm};
}

}  // namespace

std::optional<PaperMismatch> paperMismatch(const QPrinter& printer, const QPageLayout& paper) {
    const auto taken = paperTakenMm(printer);
    return taken ? mismatchOf(*taken, paper) : std::nullopt;
}

PrintOutcome printOnPrinter(QPrinter& printer, const PageTexts& page, const QPageLayout& paper,
                            PageOffset offset) {
    const QString name = printer.printerName();
    if (!printerPresent(printer)) return {false, printerGoneMessage(name)};
    setPaperOnPrinter(printer, paper);
    // The printer is asked once what it would take.
    const auto taken = paperTakenMm(printer);
    if (!taken) return {false, printerGoneMessage(name)};
    if (const auto mismatch = mismatchOf(*taken, paper))
        return {false,
                paperMissingMessage(name, mismatch->paper, mismatch->paperMm, mismatch->takenMm)};
    if (!printPages(printer, [&page, offset](QPagedPaintDevice& device) {
            return paintPage(device, page, offset);
        }))
        return {false,
                printerPresent(printer) ? printRefusedMessage(name) : printerGoneMessage(name)};
    return {true, {}};
}

const std::array<PrintoutCommand, 3>& printoutCommands() {
    static const std::array<PrintoutCommand, 3> commands = {{
        {PrintoutWay::Preview, "打印预览…", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {PrintoutWay::Pdf, "保存为 PDF…", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {PrintoutWay::Picture, "复制为图片", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
    }};
    return commands;
}

QString askPdfPathInDialog(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("保存为 PDF"), suggested,
                                        QStringLiteral("PDF 文件 (*.pdf)"));
}

CalendarDay calendarDay(QDate day) {
    return {day.year(), day.month(), day.day()};
}

QString suggestedPdfPath(const QString& folder, QDate day) {
    const QString stem = QStringLiteral("木材销售清单-%1").arg(day.toString(Qt::ISODate));
    const QDir dir(folder);
    QString path = dir.filePath(stem + QLatin1String(kPdfSuffix));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2").arg(stem).arg(n) + QLatin1String(kPdfSuffix));
    return path;
}

void printoutClicked(QWidget& form, const BillSheet& sheet, PrintoutDesk& desk, PrintoutWay way) {
    // The page would show the other figures without the one that cannot be
    // computed: refused as the export refuses it.
    if (const auto uncomputed = passFailure(sheet)) {
        showFailure(&form,
                    {uncomputed->number, uncomputedBillText(uncomputed->row), uncomputed->row});
        return;
    }
    const PageTexts page = pageTexts(sheet, calendarDay(QDate::currentDate()));
    switch (way) {
        case PrintoutWay::Preview:
            preview(form, page, desk);
            break;
        case PrintoutWay::Pdf:
            saveAsPdf(form, page, desk);
            break;
        case PrintoutWay::Picture:
            copyPicture(page, desk);
            break;
    }
}

}  // namespace cubrix
