// A button whose whole face is a picture, with a brighter second face while
// it is held down.
#pragma once

#include <QAbstractButton>
#include <QColor>

#include "app/pictures.h"

namespace cubrix {

class PictureButton : public QAbstractButton {
public:
    PictureButton(Picture face, Picture pressedFace, QColor background, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Picture face_;
    Picture pressedFace_;
    QColor background_;
};

}  // namespace cubrix
