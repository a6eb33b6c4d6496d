#include "app/window_commands.h"

#include <QCoreApplication>
#include <QWindow>

#include "app/form1.h"

namespace cubrix {

void Form_MouseDown(Form1& form, const QPoint& globalPress) {
    form.startDrag(globalPress);
}

void Form_Resize(QWidget& form) {
    // A minimised window keeps whatever size the platform gives it; the size
    // writes may call back here, and then they change nothing.
    if (form.windowState() & Qt::WindowMinimized) return;
    if (form.size() != Form1::fixedSize()) form.resize(Form1::fixedSize());
}

void Command6_Click(QWidget& form) {
    form.setWindowState(form.windowState() | Qt::WindowMinimized);
}

void Command5_Click() {
    QCoreApplication::exit(0);
}

void Command2_Click(Form1& form) {
    form.clickHomePage();
}

}  // namespace cubrix
