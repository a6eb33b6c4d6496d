#include "app/busy_pointer.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace cubrix {

BusyPointer::BusyPointer(std::chrono::milliseconds bound) : bound_(bound) {
    limit_.setSingleShot(true);
    limit_.callOnTimeout([this] { end(); });
}

BusyPointer::~BusyPointer() {
    end();
}

void BusyPointer::begin() {
    unwatch();
    if (on_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    on_ = true;
}

void BusyPointer::end() {
    unwatch();
    if (!on_) return;
    QApplication::restoreOverrideCursor();
    on_ = false;
}

void BusyPointer::endWhenShown(QWidget& form) {
    // A focus change while the export's call ran is still queued: it reaches
    // the filter below.
    if (!on_) return;
    unwatch();
    watched_ = &form;
    form.installEventFilter(this);
    limit_.start(bound_);
}

bool BusyPointer::eventFilter(QObject* watched, QEvent* event) {
    // Not for a message of ours that opens meanwhile (an overflow's): the
    // bill is still to come.
    if (watched == watched_ && event->type() == QEvent::WindowDeactivate &&
        !QApplication::activeModalWidget())
        end();
    return false;
}

void BusyPointer::unwatch() {
    limit_.stop();
    if (watched_) watched_->removeEventFilter(this);
    watched_ = nullptr;
}

}  // namespace cubrix
