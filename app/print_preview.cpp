#include "app/print_preview.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/printout_commands.h"
#include "app/window_messages.h"
#include "platform/qt/message_box.h"
#include "platform/qt/printer_paper.h"
#include "printout/paper.h"

namespace cubrix {
namespace {

// The print button stands out: the one thing most operators come for.
constexpr double kPrintButtonFontScale = 1.4;
constexpr int kPrintButtonPadding = 8;

QDoubleSpinBox* offsetBox(const char* name, double mm, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(-kOffsetLimitMm, kOffsetLimitMm);
    box->setSingleStep(kOffsetStepMm);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(mm);
    box->setKeyboardTracking(false);
    return box;
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setContentsMargins(6, 0, 2, 0);
    return label;
}

// The print dialog handed back the printer's default paper without the
// operator picking it: a driver that does not list our size does so.
bool driversDefault(const QPrinter& printer, const QPageLayout& before) {
    const QSizeF after = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    if (samePaperSize(after, before.pageSize().size(QPageSize::Millimeter))) return false;
    const QPageSize fallback = QPrinterInfo(printer).defaultPageSize();
    return fallback.isValid() && samePaperSize(after, fallback.size(QPageSize::Millimeter));
}

}  // namespace

PrintPreview::PrintPreview(QPrinter& printer, PrintoutChoices& choices,
                           std::function<void()> chosen, QWidget* parent)
    : QDialog(parent), printer_(printer), choices_(choices), chosen_(std::move(chosen)) {
    setWindowTitle(QStringLiteral("打印预览 - 木材销售清单"));
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("bar"));

    print_ = new QPushButton(QStringLiteral("打印"), bar);
    print_->setObjectName(QStringLiteral("print"));
    QFont big = print_->font();
    big.setPointSizeF(big.pointSizeF() * kPrintButtonFontScale);
    big.setBold(true);
    print_->setFont(big);
    print_->setMinimumHeight(print_->sizeHint().height() + kPrintButtonPadding);
    print_->setDefault(true);
    connect(print_, &QPushButton::clicked, this, &PrintPreview::print);
    bar->addWidget(print_);
    bar->addSeparator();

    printers_ = new QComboBox(bar);
    printers_->setObjectName(QStringLiteral("printer"));
    printers_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    bar->addWidget(caption(QStringLiteral("打印机"), bar));
    bar->addWidget(printers_);

    papers_ = new QComboBox(bar);
    papers_->setObjectName(QStringLiteral("paper"));
    for (const Paper p : kPapers) papers_->addItem(paperName(p));
    bar->addWidget(caption(QStringLiteral("纸张"), bar));
    bar->addWidget(papers_);

    down_ = offsetBox("offsetDown", choices_.offset.downMm, bar);
    right_ = offsetBox("offsetRight", choices_.offset.rightMm, bar);
    bar->addWidget(caption(QStringLiteral("下移"), bar));
    bar->addWidget(down_);
    bar->addWidget(caption(QStringLiteral("右移"), bar));
    bar->addWidget(right_);
    bar->addSeparator();

    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setObjectName(QStringLiteral("view"));
    view_->fitInView();
    const std::pair<const char*, std::function<void()>> zooms[] = {
        {"整页", [this] { view_->fitInView(); }},
        {"页宽", [this] { view_->fitToWidth(); }},
        {"放大", [this] { view_->zoomIn(); }},
        {"缩小", [this] { view_->zoomOut(); }},
    };
    for (const auto& [text, zoom] : zooms)
        connect(bar->addAction(QString::fromUtf8(text)), &QAction::triggered, this, zoom);

    // Told before printing: a printer without the chosen paper would put the
    // bill on one of its own, as the preview then shows.
    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("warning"));
    warning_->setWordWrap(true);
    warning_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; padding: 4px 8px; }"));
    warning_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(warning_);
    layout->addWidget(view_, 1);

    connect(view_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* p) { paintPage(*p, page_, choices_.offset); });
    connect(papers_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(kPapers.size()))
            choosePaper(pageLayoutFor(kPapers[static_cast<std::size_t>(index)]));
    });
    connect(printers_, &QComboBox::activated, this,
            [this](int index) { choosePrinter(printers_->itemText(index)); });
    for (QDoubleSpinBox* box : {down_, right_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            choices_.offset = {offsetOnScale(down_->value()), offsetOnScale(right_->value())};
            view_->updatePreview();
            chosen_();
        });

    addPrinters();
    printer_.setDocName(QString::fromStdU16String(std::u16string(kPageTitle)));
    setPaperOnPrinter(printer_, choices_.paper);
    showChosenPaper();
    warnOfMissingPaper();
}

void PrintPreview::warnOfMissingPaper() {
    const auto mismatch = paperMismatch(printer_, choices_.paper);
    if (mismatch)
        warning_->setText(paperMissingWarning(printer_.printerName(), mismatch->paper,
                                              mismatch->paperMm, mismatch->takenMm));
    warning_->setVisible(mismatch.has_value());
}

// Asked for once a run, when the preview is first opened: a list of
// printers that do not answer must not slow the window's start.
void PrintPreview::addPrinters() {
    const QStringList names = QPrinterInfo::availablePrinterNames();
    printers_->addItems(names);
    // A kept printer that is gone: the system's default, with the kept paper.
    QString name =
        names.contains(choices_.printer) ? choices_.printer : QPrinterInfo::defaultPrinterName();
    if (name.isEmpty() && !names.isEmpty()) name = names.first();
    if (!name.isEmpty()) printer_.setPrinterName(name);
    printers_->setCurrentIndex(printers_->findText(printer_.printerName()));
}

void PrintPreview::choosePrinter(const QString& name) {
    printer_.setPrinterName(name);
    choices_.printer = name;
    setPaperOnPrinter(printer_, choices_.paper);
    warnOfMissingPaper();
    view_->updatePreview();
    chosen_();
}

void PrintPreview::choosePaper(const QPageLayout& paper) {
    choices_.paper = paper;
    setPaperOnPrinter(printer_, paper);
    showChosenPaper();
    warnOfMissingPaper();
    view_->updatePreview();
    chosen_();
}

// One of ours is shown by its name; a printer's own paper, picked in the
// print dialog, as a last item of its own.
void PrintPreview::showChosenPaper() {
    while (papers_->count() > static_cast<int>(kPapers.size()))
        papers_->removeItem(papers_->count() - 1);
    if (const auto ours = paperOf(choices_.paper)) {
        papers_->setCurrentIndex(static_cast<int>(*ours));
        return;
    }
    papers_->addItem(choices_.paper.pageSize().name());
    papers_->setCurrentIndex(papers_->count() - 1);
}

void PrintPreview::showBill(const PageTexts& page) {
    page_ = page;
    // Drawn on first show; a later preview draws the bill as it stands now.
    if (view_->pageCount() > 0) view_->updatePreview();
}

void PrintPreview::print() {
    // The print dialog would put another printer in place of one that is
    // gone (a queue deleted, a cable pulled since the preview opened), and
    // its OK would send the bill there.
    if (!printerPresent(printer_)) {
        showMessage(this, printerGoneMessage(printer_.printerName()));
        return;
    }
    const QPageLayout before = printer_.pageLayout();
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return;  // nothing printed, the preview stays
    // The operator may have picked another printer or paper there.
    if (printer_.printerName() != choices_.printer && !printer_.printerName().isEmpty()) {
        choices_.printer = printer_.printerName();
        printers_->setCurrentIndex(printers_->findText(choices_.printer));
    }
    if (!driversDefault(printer_, before) &&
        !samePaperSize(printer_.pageLayout().pageSize().size(QPageSize::Millimeter),
                       before.pageSize().size(QPageSize::Millimeter))) {
        const QPageLayout picked = printer_.pageLayout();
        const auto ours = paperOf(picked);
        choices_.paper = ours ? pageLayoutFor(*ours) : picked;
    }
    chosen_();
    showChosenPaper();
    const PrintOutcome outcome = printOnPrinter(printer_, page_, choices_.paper, choices_.offset);
    warnOfMissingPaper();
    view_->updatePreview();
    if (outcome.printed) {
        accept();
        return;
    }
    showMessage(this, outcome.message);
}

}  // namespace cubrix
