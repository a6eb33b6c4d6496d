// The yardstick for the window's idle load: a plain Qt window of the same size
// whose 10 ms timer does nothing.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("bare");
    window.resize(627, 481);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(10);
    window.show();
    return app.exec();
}
