#include "app/field_edit.h"

#include <qdrawutil.h>

#include <QFocusEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <limits>

#include "app/text_fit.h"
#include "app/virtual_keys.h"

namespace cubrix {
namespace {

constexpr int kBorder = 2;  // the sunken three-dimensional border, two pixels each way
// QLineEdit keeps this much room on either side of its text, and one pixel for
// the caret; a text wider than what is left is scrolled.
constexpr int kLineEditSideRoom = 2;
constexpr int kCaretWidth = 1;
constexpr int kCutMarkWidth = 5;

bool leavesTheWindow(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

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

void FieldEdit::showText(const QString& text) {
    setText(text);
    // Typing without the focus arriving first goes after the text, as it
    // would after setText.
    if (!hasFocus()) parkAtStart(int(text.size()));
}

void FieldEdit::parkAtStart(int editingPosition) {
    parkedCursor_ = editingPosition;
    setCursorPosition(0);
}

void FieldEdit::resumeEditing() {
    if (parkedCursor_ < 0) return;
    setCursorPosition(parkedCursor_);
    parkedCursor_ = -1;
}

void FieldEdit::setShrinkToFit(bool on) {
    shrinkToFit_ = on;
    ownFont_ = font();
    if (on)
        connect(this, &QLineEdit::textChanged, this, &FieldEdit::fitText, Qt::UniqueConnection);
    else
        disconnect(this, &QLineEdit::textChanged, this, &FieldEdit::fitText);
    fitText();
}

qreal FieldEdit::textWidth() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    return contents.width() - 2 * kLineEditSideRoom - kCaretWidth;
}

void FieldEdit::fitText() {
    if (!shrinkToFit_) return;
    const FittedFont fitted = fitFont(ownFont_, text(), textWidth());
    cut_ = !fitted.fits;
    fitting_ = true;  // the box's own font change is no new font to fit from
    if (font() != fitted.font) setFont(fitted.font);
    fitting_ = false;
    if (cut_ && !hasFocus() && parkedCursor_ < 0) parkAtStart(cursorPosition());
}

void FieldEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    // A font given from outside (the window's, a test's) is the new face to fit.
    if (event->type() == QEvent::FontChange && shrinkToFit_ && !fitting_) {
        ownFont_ = font();
        fitText();
    }
}

void FieldEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), true);
    if (cut_) {
        // A text no step holds: a red wedge at the right end says that more
        // follows than is shown.
        const QRect inner = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
        const int x = inner.right() - kCutMarkWidth;
        const int mid = inner.center().y();
        const QPoint wedge[] = {
            {x, mid - kCutMarkWidth}, {inner.right(), mid}, {x, mid + kCutMarkWidth}};
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 0, 0));
        painter.drawPolygon(wedge, 3);
    }
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
    resumeEditing();
    QLineEdit::focusInEvent(event);
    // Coming back to the window, or from a menu or message, is no entry into
    // the field: the caret stays where the operator left it.
    const auto reason = event->reason();
    if (leavesTheWindow(reason)) return;
    enteredByClick_ = reason == Qt::MouseFocusReason;
    if (onGotFocus) onGotFocus();
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    enteredByClick_ = false;
    // A box left for another shows where its text begins, not where the
    // caret was; leaving the window keeps the caret for the way back.
    if (!leavesTheWindow(event->reason())) parkAtStart(cursorPosition());
}

void FieldEdit::mousePressEvent(QMouseEvent* event) {
    parkedCursor_ = -1;  // the press places the caret itself
    QLineEdit::mousePressEvent(event);
    // The line edit put the caret at the click. In a box with an entry rule
    // (a line input), a click that brought the focus selects the whole text
    // instead, so the next key replaces it; a click in a box that already has
    // the focus places the caret. Any other box keeps the caret at the click,
    // so a name can be mended one character at a time.
    if (enteredByClick_ && onGotFocus && event->button() == Qt::LeftButton) {
        selectAll();
        holdSelection_ = true;
    }
    enteredByClick_ = false;
}

void FieldEdit::mouseMoveEvent(QMouseEvent* event) {
    if (holdSelection_) return;
    QLineEdit::mouseMoveEvent(event);
}

void FieldEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    holdSelection_ = false;
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown) {
        std::int16_t code = virtualKeyCode(*event);
        std::int16_t shift = shiftMask(event->modifiers());
        const QWidget* before = window()->focusWidget();
        onKeyDown(code, shift);
        // The key moved the focus to another line: it is spent, and this box,
        // already left, keeps showing the start of its text.
        if (window()->focusWidget() != before) {
            event->accept();
            return;
        }
    }
    resumeEditing();
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::inputMethodEvent(QInputMethodEvent* event) {
    resumeEditing();
    QLineEdit::inputMethodEvent(event);
}

}  // namespace cubrix
