// A label of the window: a caption with no background of its own. A press on
// it belongs to the label, so it never drags the window.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace cubrix {

class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
};

}  // namespace cubrix
