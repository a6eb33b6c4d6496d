#include "platform/qt/caret_rest.h"

#include <QApplication>
#include <QEvent>
#include <QStyleHints>

namespace cubrix {
namespace {

bool isOperatorInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::FocusIn:
            return true;
        default:
            return false;
    }
}

}  // namespace

CaretRest::CaretRest(std::chrono::milliseconds after) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(after);
    connect(&quiet_, &QTimer::timeout, this, &CaretRest::rest);
    quiet_.start();
}

CaretRest::~CaretRest() {
    wake();
}

void CaretRest::watch(QWidget* box) {
    box->installEventFilter(this);
}

bool CaretRest::eventFilter(QObject* watched, QEvent* event) {
    if (isOperatorInput(event->type())) {
        wake();
        quiet_.start();
    }
    return QObject::eventFilter(watched, event);
}

// A flash time of zero keeps the caret shown without blinking; the line edits
// follow the change at once.
void CaretRest::rest() {
    QStyleHints* hints = QGuiApplication::styleHints();
    flashTime_ = hints->cursorFlashTime();
    if (flashTime_ == 0) return;  // the desktop does not blink the caret
    resting_ = true;
    QApplication::setCursorFlashTime(0);
}

void CaretRest::wake() {
    if (!resting_) return;
    resting_ = false;
    QApplication::setCursorFlashTime(flashTime_);
}

}  // namespace cubrix
