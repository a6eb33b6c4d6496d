// A text box of the bill: a line edit that reports its focus arrival and its
// key presses (as virtual-key codes) to the window's handlers. A box the focus
// has left shows the start of its text; in a line input, a click that brings
// the focus selects the whole text, as Tab does. A computed box draws its
// figure smaller rather than cut.
#pragma once

#include <QFont>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <cstdint>
#include <functional>

namespace cubrix {

class FieldEdit : public QLineEdit {
public:
    explicit FieldEdit(QWidget* parent);

    std::function<void()> onGotFocus;
    std::function<void(std::int16_t& keyCode, std::int16_t& shift)> onKeyDown;

    // Shows a text set by the program. Unlike setText, a box without the focus
    // keeps its start in view.
    void showText(const QString& text);

    // The box's own font becomes the largest step of it that holds the whole
    // text; a text that no step holds shows its start and a cut mark.
    void setShrinkToFit(bool on);
    bool isCut() const { return cut_; }
    // The width the text may take without being scrolled, in pixels.
    qreal textWidth() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitText();
    // Shows the start of the text while keeping where typing would go; a key
    // that reaches the box without the focus arriving first types there.
    void parkAtStart(int editingPosition);
    void resumeEditing();

    QFont ownFont_;  // the font the box asks for, before any fitting
    bool shrinkToFit_ = false;
    bool fitting_ = false;
    bool cut_ = false;
    bool enteredByClick_ = false;  // the focus came with the press now going on
    bool holdSelection_ = false;   // that press selected all; a drag may not undo it
    int parkedCursor_ = -1;        // where typing goes while the start is shown, or -1
};

}  // namespace cubrix
