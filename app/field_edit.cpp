#include "app/field_edit.h"

#include "app/virtual_keys.h"

namespace cubrix {

void FieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (onGotFocus) onGotFocus();
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown) {
        std::int16_t code = virtualKeyCode(*event);
        std::int16_t shift = shiftMask(event->modifiers());
        onKeyDown(code, shift);
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace cubrix
