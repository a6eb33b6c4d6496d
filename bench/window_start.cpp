// Time from process start to the window's first painted frame, and the
// resident memory then. Prints "first_paint_ms=… rss_kb=…" and exits.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "app/application_setup.h"
#include "app/form1.h"
#include "app/spreadsheet_backend.h"
#include "platform/qt/url_launcher.h"
#include "platform/qt/workbook_path.h"

namespace {

// Milliseconds since this process started, from /proc.
double sinceProcessStart() {
    QFile stat("/proc/self/stat");
    stat.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = stat.readAll().split(' ');
    const double startTicks = fields.value(21).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

long residentKb() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("first_paint_ms=%.1f rss_kb=%ld\n", sinceProcessStart(), residentKb());
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

}  // namespace

// Set up as the program itself is.
int main(int argc, char** argv) {
    const auto app = cubrix::makeApplication(argc, argv);
    cubrix::Form1 form(
        {cubrix::makeSpreadsheet(), cubrix::systemUrlLauncher(), cubrix::workbookPath()});
    FirstPaint probe;
    form.installEventFilter(&probe);
    form.show();
    return app->exec();
}
