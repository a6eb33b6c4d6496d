// The text caret stops blinking after a spell without input, as it does on the
// GNOME desktop, and stays shown; the next key, click or focus change starts
// it again. A blinking caret repaints its box twice a second for as long as
// the window stays open, which is most of the idle window's work.
#pragma once

#include <QObject>
#include <QTimer>
#include <QWidget>
#include <chrono>

namespace cubrix {

// GNOME's gtk-cursor-blink-timeout.
inline constexpr std::chrono::milliseconds kCaretRestAfter{10'000};

class CaretRest : public QObject {
public:
    explicit CaretRest(std::chrono::milliseconds after = kCaretRestAfter);
    ~CaretRest() override;

    // Input into `box` (a key, a click, an input method's text, the focus)
    // starts the caret again. Only the boxes are watched, not the whole
    // application: the recalculation timer's events never pass through here.
    void watch(QWidget* box);

    bool resting() const { return resting_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rest();
    void wake();

    QTimer quiet_;
    int flashTime_ = 0;  // the desktop's flash time, given back on waking
    bool resting_ = false;
};

}  // namespace cubrix
