#include "platform/qt/caret_rest.h"

#include <QApplication>
#include <QEvent>
#include <QStyleHints>
#include <QTimer>

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

// The one quiet spell of the application, kept while any CaretRest lives.
class Spell : public QObject {
public:
    explicit Spell(std::chrono::milliseconds after) {
        quiet_.setSingleShot(true);
        quiet_.setInterval(after);
        connect(&quiet_, &QTimer::timeout, this, &Spell::rest);
        quiet_.start();
    }
    ~Spell() override { wake(); }

    int users = 0;
    bool resting() const { return resting_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (isOperatorInput(event->type())) {
            wake();
            quiet_.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // A flash time of zero keeps the caret shown without blinking; the line
    // edits follow the change at once.
    void rest() {
        flashTime_ = QGuiApplication::styleHints()->cursorFlashTime();
        if (flashTime_ == 0) return;  // the desktop does not blink the caret
        resting_ = true;
        QApplication::setCursorFlashTime(0);
    }
    void wake() {
        if (!resting_) return;
        resting_ = false;
        QApplication::setCursorFlashTime(flashTime_);
    }

    QTimer quiet_;
    int flashTime_ = 0;  // the flash time before the rest, given back on waking
    bool resting_ = false;
};

Spell* spell = nullptr;

}  // namespace

CaretRest::CaretRest(std::chrono::milliseconds after) {
    if (!spell) spell = new Spell(after);
    ++spell->users;
}

CaretRest::~CaretRest() {
    if (--spell->users > 0) return;
    delete spell;
    spell = nullptr;
}

void CaretRest::watch(QWidget* box) {
    box->installEventFilter(spell);
}

bool CaretRest::resting() const {
    return spell->resting();
}

}  // namespace cubrix
