// The yardstick for the window's idle load: a plain Qt window of the same size
// whose 10 ms timer does nothing. With --text-box it also holds one focused
// line edit, whose blinking caret any data-entry window has. It reaches the X
// server as the window does, so that only the window's own work differs.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "app/form1_layout.h"
#include "platform/qt/x11_images.h"

int main(int argc, char** argv) {
    cubrix::sendX11ImagesOverTheConnection();
    QApplication app(argc, argv);
    cubrix::keepX11ImageSettingToThisProgram();
    QWidget window;
    window.setWindowTitle("bare");
    window.resize(cubrix::toPixels(cubrix::kFormTwips).size());
    if (QApplication::arguments().contains("--text-box")) {
        auto* edit = new QLineEdit(&window);
        edit->setGeometry(cubrix::toPixels(cubrix::gridCell(0, 0)));  // where Text1(0) stands
        edit->setFocus();
    }
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(10);
    window.show();
    return app.exec();
}
