#include "app/picture_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace cubrix {

PictureButton::PictureButton(Picture face, Picture pressedFace, QColor background, QWidget* parent)
    : QAbstractButton(parent),
      face_(std::move(face)),
      pressedFace_(std::move(pressedFace)),
      background_(background) {
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background_.isValid() ? background_ : palette().color(QPalette::Button));
    const Picture& picture = isDown() && !pressedFace_.isNull() ? pressedFace_ : face_;
    const QPixmap& shown = picture.forRatio(devicePixelRatioF());
    p.setRenderHint(QPainter::SmoothPixmapTransform);  // a scale between 1 and 2
    // Centred; the face is a pixel wider than the button, so its edge is cut.
    const QSize size = shown.deviceIndependentSize().toSize();
    p.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, shown);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

}  // namespace cubrix

namespace cubrix {

// Like any push button on the desktop, a focused button also answers Enter.
void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace cubrix
