// The window's commands: what a caption bar would otherwise do for the
// frameless window (drag, fixed size, minimise, exit), the home-page button,
// and the export button with its guard. The window only binds them.
#pragma once

#include <QSize>
#include <functional>
#include <string>

#include "app/busy_pointer.h"
#include "bill/bill_sheet.h"
#include "export/bill_export.h"
#include "export/spreadsheet.h"
#include "platform/qt/url_launcher.h"

class QWidget;
class QPoint;

namespace cubrix {

inline constexpr char kHomePage[] = "https://cubrix.example.org/";

// Starts the platform's own move of the window, as a press on a caption bar
// would. Returns false where the platform has none; the window then follows
// the pointer itself.
bool Form_MouseDown(QWidget& form, const QPoint& globalPress);
// Undoes any size but `fixed` (a minimised window keeps the platform's).
void Form_Resize(QWidget& form, QSize fixed);
void Command6_Click(QWidget& form);
void Command5_Click();
// Opens the home page; a browser that cannot be started is only a message.
void Command2_Click(QWidget& form, const UrlLauncher& launcher);

// What the export button keeps from one click to the next.
struct ExportDesk {
    ExportTarget target;
    ExportCounter counter = 0;
    bool underWay = false;
    BusyPointer busy{kBillWindowWait};
};

// The export button: the busy pointer from the click until the bill's window
// is up, a click that arrives while Command4_Click runs ignored, and a
// failure told to the operator. Given `printDirectly`, the failure's message
// offers 直接打印, which runs it: the bill drawn by the program instead.
void exportClicked(QWidget& form, const BillSheet& sheet, ExportDesk& desk,
                   const std::function<void()>& printDirectly = {});

inline constexpr char kPrintDirectly[] = "直接打印";

}  // namespace cubrix
