// The bill on paper without an office: print preview, PDF and a picture on
// the clipboard, from the print button's menu, from keys, and from a failed
// export's message. All three pass through printoutClicked.
#pragma once

#include <QDate>
#include <QKeySequence>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/printout_choices.h"
#include "bill/bill_sheet.h"
#include "printout/page_texts.h"

class QPrinter;
class QSettings;
class QWidget;

namespace cubrix {

enum class PrintoutWay { Preview, Pdf, Picture };

// Each way with its menu item and its key.
struct PrintoutCommand {
    PrintoutWay way;
    const char* item;
    QKeySequence key;
};

// 打印预览… Ctrl+P, 保存为 PDF… Ctrl+S, 复制为图片 Ctrl+Shift+C.
const std::array<PrintoutCommand, 3>& printoutCommands();

// Asks where to save the PDF, starting at `suggested`; empty when the
// operator cancels.
using PdfPathQuestion = std::function<QString(QWidget* parent, const QString& suggested)>;

QString askPdfPathInDialog(QWidget* parent, const QString& suggested);

// The print preview with its printer, made on first use.
struct PreviewParts;

// What the three ways keep from one use to the next: the choices, read at
// start and kept in `settings` on each change.
struct PrintoutDesk {
    PrintoutChoices choices = defaultChoices();
    std::unique_ptr<QSettings> settings;
    PdfPathQuestion askPdfPath = askPdfPathInDialog;
    // Kept for the run: the printer and paper last chosen stay chosen, and
    // a later preview opens without building the dialog again.
    std::shared_ptr<PreviewParts> preview;
};

// The desk with the choices kept in `settings`.
PrintoutDesk printoutDeskFrom(std::unique_ptr<QSettings> settings);

// The one door of the three ways: the bill as it stands, today's date.
void printoutClicked(QWidget& form, const BillSheet& sheet, PrintoutDesk& desk, PrintoutWay way);

struct PrintOutcome {
    bool printed = false;
    QString message;  // for the operator, when not printed
};

// The printer as it is set up now would put the page on another paper than
// `paper`: the paper's name, its size and the size the printer would take.
struct PaperMismatch {
    QString paper;
    QSizeF paperMm;
    QSizeF takenMm;
};
std::optional<PaperMismatch> paperMismatch(const QPrinter& printer, const QPageLayout& paper);

// What the print dialog's OK does with the printer as the operator set it
// up: the paper set again (the printer's own form of that size where it has
// one), refused when the printer would take another paper or is gone, and
// the page painted, moved by `offset`.
PrintOutcome printOnPrinter(QPrinter& printer, const PageTexts& page, const QPageLayout& paper,
                            PageOffset offset);

// "木材销售清单-2026-12-08.pdf" in `folder`, or with -2, -3 … when taken.
QString suggestedPdfPath(const QString& folder, QDate day);

CalendarDay calendarDay(QDate day);

}  // namespace cubrix
