#include "app/printout_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

#include "app/window_messages.h"
#include "bill/recalculation.h"
#include "export/export_messages.h"
#include "platform/qt/message_box.h"
#include "printout/page_drawing.h"
#include "printout/page_outputs.h"
#include "printout/paper.h"
#include "printout/printer_job.h"

namespace cubrix {
namespace {

const char* const kPdfSuffix = ".pdf";
// The preview large enough to read the figures on the page.
constexpr double kPreviewShareOfScreen = 0.8;

QPageLayout chosenPaper(const PrintoutDesk& desk) {
    return desk.lastPaper.value_or(pageLayoutFor(Paper::A4Portrait));
}

// The paper sizes of the bill, offered in the preview's own tool bar: the
// print dialog lists only the printer's sizes, and the continuous form is
// rarely among them.
QComboBox* addPaperChoice(QPrintPreviewDialog& dialog, QPrinter& printer) {
    auto* bar = dialog.findChild<QToolBar*>();
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (!bar || !preview) return nullptr;
    auto* papers = new QComboBox(bar);
    papers->setObjectName(QStringLiteral("paper"));
    for (const Paper p : kPapers) papers->addItem(paperName(p), static_cast<int>(p));
    // First in the bar, where a narrow dialog does not fold it away.
    QAction* first = bar->actions().value(0);
    bar->insertWidget(first, papers);
    bar->insertSeparator(first);
    QObject::connect(papers, &QComboBox::activated, &dialog, [papers, &printer, preview] {
        printer.setPageLayout(pageLayoutFor(static_cast<Paper>(papers->currentData().toInt())));
        preview->updatePreview();
    });
    return papers;
}

// The printer's paper in the choice (none shown for a size of the printer's
// own, picked in its page set-up).
void showPaper(QComboBox* papers, const QPrinter& printer) {
    Paper current = Paper::A4Portrait;
    if (papers)
        papers->setCurrentIndex(paperOf(printer.pageLayout(), current) ? static_cast<int>(current)
                                                                       : -1);
}

}  // namespace

struct PreviewParts {
    QPrinter printer{QPrinter::HighResolution};
    QPointer<QPrintPreviewDialog> dialog;
    QPointer<QComboBox> papers;
    PageTexts page;
    // The dialog, a child of the window, goes first: it draws on the printer.
    ~PreviewParts() { delete dialog.data(); }
};

namespace {

void preview(QWidget& form, const PageTexts& page, PrintoutDesk& desk) {
    if (!desk.preview) desk.preview = std::make_shared<PreviewParts>();
    PreviewParts& parts = *desk.preview;
    parts.page = page;
    if (!parts.dialog) {
        parts.printer.setPageLayout(chosenPaper(desk));
        parts.printer.setDocName(QString::fromStdU16String(std::u16string(kPageTitle)));
        auto* dialog = new QPrintPreviewDialog(&parts.printer, &form);
        dialog->setWindowTitle(QStringLiteral("打印预览 - 木材销售清单"));
        QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                         [&parts](QPrinter* p) { printOnPrinter(*p, parts.page); });
        parts.papers = addPaperChoice(*dialog, parts.printer);
        if (const QScreen* screen = form.screen())
            dialog->resize(screen->availableGeometry().size() * kPreviewShareOfScreen);
        parts.dialog = dialog;
    } else if (auto* shown = parts.dialog->findChild<QPrintPreviewWidget*>()) {
        shown->updatePreview();  // the bill as it stands now
    }
    showPaper(parts.papers, parts.printer);
    parts.dialog->exec();
    desk.lastPaper = parts.printer.pageLayout();
}

void saveAsPdf(QWidget& form, const PageTexts& page, PrintoutDesk& desk) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = desk.askPdfPath(&form, suggestedPdfPath(folder, QDate::currentDate()));
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(kPdfSuffix), Qt::CaseInsensitive))
        path += QLatin1String(kPdfSuffix);
    if (!writePdf(path, page, chosenPaper(desk)))
        showMessage(&form, pdfNotWrittenMessage(QDir::toNativeSeparators(path)));
}

void copyPicture(const PageTexts& page, const PrintoutDesk& desk) {
    const QImage picture = pagePicture(page, chosenPaper(desk));
    auto* data = new QMimeData;
    // "image/png" is what chat programs ask for: made once here, at a
    // lighter compression than Qt would use on each paste; the image serves
    // every other format.
    data->setData(QStringLiteral("image/png"), pngOf(picture));
    data->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

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

bool printOnPrinter(QPrinter& printer, const PageTexts& page) {
    return printPages(printer,
                      [&page](QPagedPaintDevice& device) { return paintPage(device, page); });
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
