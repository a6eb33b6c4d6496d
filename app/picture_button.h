// A button whose whole face is a picture, with a brighter second face while
// it is held down.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace cubrix {

class PictureButton : public QAbstractButton {
public:
    PictureButton(QPixmap face, QPixmap pressedFace, QColor background, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap face_;
    QPixmap pressedFace_;
    QColor background_;
};

}  // namespace cubrix
