// The text caret stops blinking after a spell without input, as it does on the
// GNOME desktop, and stays shown; the next key, click or focus change starts
// it again. A blinking caret repaints its box twice a second for as long as
// the window stays open, which is most of the idle window's work.
#pragma once

#include <QWidget>
#include <chrono>

namespace cubrix {

// GNOME's gtk-cursor-blink-timeout.
inline constexpr std::chrono::milliseconds kCaretRestAfter{10'000};

// The blink is the application's, so all CaretRests of one application share
// one quiet spell: input into any watched box, in any window, starts it anew.
// The spell's length is that of the first CaretRest made.
class CaretRest {
public:
    explicit CaretRest(std::chrono::milliseconds after = kCaretRestAfter);
    ~CaretRest();
    CaretRest(const CaretRest&) = delete;
    CaretRest& operator=(const CaretRest&) = delete;

    // Input into `box` (a key, a click, an input method's text, the focus)
    // starts the caret again. Only the boxes are watched, not the whole
    // application: the recalculation timer's events never pass through here.
    void watch(QWidget* box);

    bool resting() const;
};

}  // namespace cubrix
