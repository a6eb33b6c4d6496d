// A text box of the bill: a line edit that reports its focus arrival and its
// key presses (as virtual-key codes) to the window's handlers.
#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>

namespace cubrix {

class FieldEdit : public QLineEdit {
public:
    explicit FieldEdit(QWidget* parent);

    std::function<void()> onGotFocus;
    std::function<void(std::int16_t& keyCode, std::int16_t& shift)> onKeyDown;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace cubrix
