#include "app/field_edit.h"

#include <qdrawutil.h>

#include <QFocusEvent>
#include <QPainter>
#include <limits>

#include "app/virtual_keys.h"

namespace cubrix {
namespace {

constexpr int kBorder = 2;  // the sunken three-dimensional border, two pixels each way

}  // namespace

// White with a classic sunken border, drawn here rather than by a style
// sheet: the box repaints at every blink of its caret.
FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setMaxLength(std::numeric_limits<int>::max());  // a field holds any text, however long
    // The box paints every pixel itself: nothing beneath it needs painting
    // first, which keeps each blink of the caret cheap.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setTextMargins(kBorder, kBorder, kBorder, kBorder);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Light, QColor(255, 255, 255));
    p.setColor(QPalette::Midlight, QColor(227, 227, 227));
    p.setColor(QPalette::Dark, QColor(160, 160, 160));
    p.setColor(QPalette::Shadow, QColor(105, 105, 105));
    setPalette(p);
}

void FieldEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), true);
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Coming back to the window, or from a menu or message, is no entry into
    // the field: the caret stays where the operator left it.
    const auto reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
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
