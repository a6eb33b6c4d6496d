// Keyboard entry: select on entry and Up/Down between the lines of a column.
#include "form_fixture.h"

namespace cubrix::testing {
namespace {

struct Move {
    const char* from;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* to;
};

TEST_F(FormTest, UpAndDownMoveWithinTheColumnAndWrap) {
    const Move moves[] = {
        {"Text2(7)", Qt::Key_Down, Qt::NoModifier, "Text2(0)"},
        {"Text6(0)", Qt::Key_Up, Qt::NoModifier, "Text6(7)"},
        {"Text4(3)", Qt::Key_Down, Qt::NoModifier, "Text4(4)"},
        {"Text1(5)", Qt::Key_Up, Qt::NoModifier, "Text1(4)"},
        {"Text3(7)", Qt::Key_Down, Qt::ShiftModifier, "Text3(0)"},
        {"Text1(0)", Qt::Key_Up, Qt::ControlModifier, "Text1(7)"},
        {"Text6(4)", Qt::Key_Down, Qt::AltModifier, "Text6(5)"},
        {"Text2(2)", Qt::Key_Left, Qt::NoModifier, "Text2(2)"},
        {"Text2(2)", Qt::Key_Right, Qt::NoModifier, "Text2(2)"},
        {"Text2(2)", Qt::Key_Return, Qt::NoModifier, "Text2(2)"},
        {"Text2(2)", Qt::Key_PageUp, Qt::NoModifier, "Text2(2)"},
        {"Text2(2)", Qt::Key_PageDown, Qt::NoModifier, "Text2(2)"},
        {"Text2(2)", Qt::Key_8, Qt::KeypadModifier, "Text2(2)"},
        {"Text5(2)", Qt::Key_Down, Qt::NoModifier, "Text5(2)"},
        {"Text7(7)", Qt::Key_Down, Qt::NoModifier, "Text7(7)"},
        {"Text8", Qt::Key_Up, Qt::NoModifier, "Text8"},
        {"Text12", Qt::Key_Down, Qt::NoModifier, "Text12"},
        {"Text14", Qt::Key_Up, Qt::NoModifier, "Text14"},
    };
    // A text wider than any box: the box left must show its start, as after Tab.
    const std::u16string wide = u"12345678901234567890123456789012345678901234567890";
    for (const Move& m : moves) {
        const auto field = *parseFieldName(m.from);
        const bool computed = field.field == Field::Text5 || field.field == Field::Text7;
        if (isLineColumn(field.field) && !computed) form->sheet().set(field, wide);
        QApplication::processEvents();
        form->control(m.from)->setFocus(Qt::OtherFocusReason);
        edit(m.from)->end(false);
        QTest::keyClick(form->control(m.from), m.key, m.modifiers);
        EXPECT_EQ(focused(), m.to) << m.from << " key " << m.key;
        if (focused() != m.from) EXPECT_EQ(edit(m.from)->cursorPosition(), 0) << m.from;
    }
}

TEST_F(FormTest, EnteringAnInputSelectsItsWholeText) {
    for (const char* name : {"Text1(1)", "Text2(1)", "Text3(1)", "Text4(1)", "Text6(1)"})
        form->sheet().set(*parseFieldName(name), u"12.5");
    QApplication::processEvents();  // the boxes show sheet changes after the current event
    // Focus given by the program (Qt itself selects only on Tab).
    form->sheet().set(Field::Text3, 2, u"987");
    QApplication::processEvents();
    edit("Text3(2)")->setCursorPosition(1);
    form->control("Text3(2)")->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(edit("Text3(2)")->selectedText(), "987");
    // Coming back to the window, or from a popup, is no entry: the caret stays.
    for (const auto reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        edit("Text3(2)")->setCursorPosition(1);
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(edit("Text3(2)"), &out);
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(edit("Text3(2)"), &in);
        EXPECT_FALSE(edit("Text3(2)")->hasSelectedText()) << reason;
        EXPECT_EQ(edit("Text3(2)")->cursorPosition(), 1) << reason;
    }
    // By arrow: every input column lands with its text selected.
    for (const char* name : {"Text1(0)", "Text2(0)", "Text3(0)", "Text4(0)", "Text6(0)"}) {
        form->control(name)->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(form->control(name), Qt::Key_Down);
        EXPECT_EQ(QApplication::focusWidget()->property("selectedText").toString(), "12.5") << name;
        EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->selectionStart(), 0);
    }
    // An empty field: caret at 0, nothing selected.
    form->control("Text1(6)")->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(form->control("Text1(6)"), Qt::Key_Down);
    EXPECT_EQ(focused(), "Text1(7)");
    EXPECT_FALSE(edit("Text1(7)")->hasSelectedText());
    EXPECT_EQ(edit("Text1(7)")->cursorPosition(), 0);
    // Computed and party fields have no such rule.
    form->sheet().set(Field::Text10, 0, u"林场");
    QApplication::processEvents();
    edit("Text10")->setCursorPosition(1);
    form->control("Text10")->setFocus(Qt::OtherFocusReason);
    EXPECT_FALSE(edit("Text10")->hasSelectedText());
}

}  // namespace
}  // namespace cubrix::testing
