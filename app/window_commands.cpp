#include "app/window_commands.h"

#include <QApplication>
#include <QUrl>
#include <QWidget>

#include "app/window_messages.h"
#include "bill/recalculation.h"
#include "platform/qt/message_box.h"
#include "platform/qt/window_move.h"

namespace cubrix {

bool Form_MouseDown(QWidget& form, const QPoint& /*globalPress*/) {
    return startWindowMove(form);
}

void Form_Resize(QWidget& form, QSize fixed) {
    // A minimised window keeps whatever size the platform gives it; the size
    // writes may call back here, and then they change nothing.
    if (form.windowState() & Qt::WindowMinimized) return;
    if (form.size() != fixed) form.resize(fixed);
}

void Command6_Click(QWidget& form) {
    form.setWindowState(form.windowState() | Qt::WindowMinimized);
}

void Command5_Click() {
    QCoreApplication::exit(0);
}

void Command2_Click(QWidget& form, const UrlLauncher& launcher) {
    const QUrl url(QString::fromLatin1(kHomePage));
    // A browser that cannot be started is no reason to lose the bill.
    if (!launcher || !launcher(url)) showMessage(&form, homePageUnreachableMessage(url.toString()));
}

void exportClicked(QWidget& form, const BillSheet& sheet, ExportDesk& desk,
                   const std::function<void()>& printDirectly) {
    if (desk.underWay) return;
    desk.busy.begin();
    const ExportEnvironment env{
        desk.target, [&form, &desk] {
            desk.busy.end();
            showMessage(&form, QString::fromStdU16String(std::u16string(kPrintReminder)));
            desk.busy.begin();
        }};
    desk.underWay = true;
    const auto failure = Command4_Click(sheet, desk.counter, env);
    // The bill's window is still coming: the pointer stays busy until it is up.
    if (failure)
        desk.busy.end();
    else
        desk.busy.endWhenShown(form);
    // The window answered nothing while the export ran: a second click then
    // (a double click, an impatient one) is no new export, and would reach a
    // workbook that the shown spreadsheet is still opening. Other input
    // queued meanwhile is handled as usual.
    QCoreApplication::processEvents();
    desk.underWay = false;
    if (!failure) return;
    // A bill that cannot be computed cannot be drawn either: no choice then.
    if (!printDirectly || passFailure(sheet))
        showFailure(&form, *failure);
    else if (showFailureWithChoice(&form, *failure, QString::fromUtf8(kPrintDirectly)))
        printDirectly();
}

}  // namespace cubrix
