// A text box of the bill: a line edit that reports its focus arrival and its
// key presses (as virtual-key codes) to the window's handlers.
#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>

namespace cubrix {

class FieldEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    std::function<void()> onGotFocus;
    std::function<void(std::int16_t& keyCode, std::int16_t& shift)> onKeyDown;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace cubrix
