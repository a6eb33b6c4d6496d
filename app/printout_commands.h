// The bill on paper without an office: print preview, PDF and a picture on
// the clipboard, from the print button's menu, from keys, and from a failed
// export's message. All three pass through printoutClicked.
#pragma once

#include <QDate>
#include <QKeySequence>
#include <QPageLayout>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "bill/bill_sheet.h"
#include "printout/page_texts.h"

class QPrinter;
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

// What the three ways keep from one use to the next, for this run only.
struct PrintoutDesk {
    std::optional<QPageLayout> lastPaper;
    PdfPathQuestion askPdfPath = askPdfPathInDialog;
    // Kept for the run: the printer and paper last chosen stay chosen, and
    // a later preview opens without building the dialog again.
    std::shared_ptr<PreviewParts> preview;
};

// The one door of the three ways: the bill as it stands, today's date.
void printoutClicked(QWidget& form, const BillSheet& sheet, PrintoutDesk& desk, PrintoutWay way);

// What the print dialog's OK does with the printer as the operator set it
// up; false when the printer cannot be painted on.
bool printOnPrinter(QPrinter& printer, const PageTexts& page);

// "木材销售清单-2026-12-08.pdf" in `folder`, or with -2, -3 … when taken.
QString suggestedPdfPath(const QString& folder, QDate day);

CalendarDay calendarDay(QDate day);

}  // namespace cubrix
