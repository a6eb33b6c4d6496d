// What the operator reads is never cut: computed figures are drawn whole (or
// their start with a cut mark), a box left shows its start, and a click that
// brings the focus into a line input selects the whole text.
#include <QImage>
#include <QPixmap>

#include "app/field_edit.h"
#include "form_fixture.h"

namespace cubrix::testing {
namespace {

// Columns of the painted box, in logical pixels, that hold text ink: pixels
// clearly darker than white inside the border.
struct Ink {
    int left = -1;
    int right = -1;
    bool red = false;  // the cut mark
};

Ink inkOf(QWidget* box) {
    const QImage image = box->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const int border = qRound(3 * ratio);  // the 2 px border and a pixel of air
    Ink ink;
    for (int x = border; x < image.width() - border; ++x) {
        for (int y = border; y < image.height() - border; ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 80 && c.blue() < 80) ink.red = true;
            if (qGray(c.rgb()) > 128) continue;
            const int logical = static_cast<int>(x / ratio);
            if (ink.left < 0) ink.left = logical;
            ink.right = logical;
        }
    }
    return ink;
}

class LegibleTextTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->timer1().stop();  // the pass would replace the texts set here
    }
    FieldEdit* box(const QString& name) { return dynamic_cast<FieldEdit*>(form->control(name)); }
    void show(const QString& name, const QString& text) {
        form->sheet().set(*parseFieldName(name.toStdString()), text.toStdU16String());
        QApplication::processEvents();
    }
};

TEST_F(LegibleTextTest, EveryComputedFigureIsDrawnWholeOrItsStartWithACutMark) {
    const char* const texts[] = {
        "0.0001",
        "18000.00",
        "6645.41",
        "24645.4100",
        "3871.0800",
        "9999999.99",
        "99999999.9999",
        "-1.0000",
        "-99999999.9999",
        "-9999999.99",
        "abcdefghijklmnopqrstuvwxyz",
    };
    const char* const boxes[] = {"Text5(0)", "Text7(3)", "Text8", "Text9"};
    const char* const longText = texts[std::size(texts) - 1];
    for (const char* name : boxes) {
        FieldEdit* b = box(name);
        ASSERT_NE(b, nullptr) << name;
        // The part of the box no neighbour covers: Text5's last pixel lies
        // under Text6.
        const int visibleRight = b->width() - (QString(name).startsWith("Text5") ? 2 : 1);
        for (const char* text : texts) {
            show(name, QString::fromUtf8(text));
            // Figures below zero, and a ten-thousandth among amounts, sort
            // before the blanking's thresholds.
            const bool amount = QString(name).startsWith("Text7") || QString(name) == "Text9";
            if (text[0] == '-' || (amount && QString(text) == "0.0001")) {
                EXPECT_EQ(b->text(), "") << name << " " << text;
                continue;
            }
            ASSERT_EQ(b->text(), QString::fromUtf8(text)) << name;
            const Ink ink = inkOf(b);
            ASSERT_GE(ink.left, 0) << name << " " << text << ": nothing drawn";
            if (text != longText) {
                EXPECT_FALSE(b->isCut()) << name << " " << text;
                EXPECT_LE(QFontMetricsF(b->font()).horizontalAdvance(b->text()), b->textWidth())
                    << name << " " << text;
                // Centred with air on both sides, within the visible part.
                EXPECT_GT(ink.left, 3) << name << " " << text;
                EXPECT_LT(ink.right, visibleRight - 3) << name << " " << text;
                EXPECT_LE(std::abs((ink.left) - (b->width() - 1 - ink.right)), 4)
                    << name << " " << text << ": not centred";
                EXPECT_FALSE(ink.red) << name << " " << text;
            } else {
                EXPECT_TRUE(b->isCut()) << name;
                EXPECT_EQ(b->cursorPosition(), 0) << name << ": the start is shown";
                EXPECT_LE(ink.left, 7) << name << ": the first letter stands at the left";
                EXPECT_TRUE(ink.red) << name << ": the cut mark";
            }
        }
        show(name, "");
        EXPECT_FALSE(b->isCut()) << name;
    }
}

TEST_F(LegibleTextTest, ShortFiguresKeepTheBoxFontAndLongOnesAreDrawnNarrowerOrSmaller) {
    FieldEdit* b = box("Text9");
    const QFont own = box("Text1(0)")->font();
    show("Text9", "765.8200");
    EXPECT_EQ(b->font(), own);
    show("Text9", "99999999.9999");
    const QFont small = b->font();
    EXPECT_TRUE(small.stretch() < 100 || small.pointSizeF() < own.pointSizeF());
    EXPECT_EQ(small.family(), own.family());
    show("Text9", "15.8000");
    EXPECT_EQ(b->font(), own) << "a short figure after a long one has the full size again";
}

TEST_F(LegibleTextTest, TheRealisticBillShowsItsTotalsWhole) {
    form->timer1().start();
    const char* const keys[][2] = {
        {"Text1(0)", "6"},    {"Text2(0)", "300"},  {"Text3(0)", "100"}, {"Text4(0)", "40"},
        {"Text6(0)", "2500"}, {"Text1(1)", "5.8"},  {"Text2(1)", "220"}, {"Text3(1)", "60"},
        {"Text4(1)", "35"},   {"Text6(1)", "2480"},
    };
    for (const auto& k : keys) type(k[0], k[1]);
    ticks();
    EXPECT_EQ(text("Text9"), "24645.4100");
    EXPECT_EQ(text("Text7(0)"), "18000.00");
    for (const char* name : {"Text5(0)", "Text7(0)", "Text5(1)", "Text7(1)", "Text8", "Text9"}) {
        EXPECT_FALSE(box(name)->isCut()) << name;
        EXPECT_LE(QFontMetricsF(box(name)->font()).horizontalAdvance(text(name)),
                  box(name)->textWidth())
            << name;
    }
}

TEST_F(LegibleTextTest, ABoxLeftOrWrittenByTheProgramShowsTheStartOfItsText) {
    const QString party = QStringLiteral("福建省南平市建阳区鑫源木业有限公司");
    type("Text10", party);
    EXPECT_EQ(edit("Text10")->cursorPosition(), party.size())
        << "typing leaves the caret at the end";
    QTest::keyClick(edit("Text10"), Qt::Key_Tab);
    EXPECT_NE(focused(), "Text10");
    EXPECT_EQ(edit("Text10")->cursorPosition(), 0);

    type("Text6(0)", "12345678.5");
    form->control("Text1(1)")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(edit("Text6(0)")->cursorPosition(), 0);

    // A text the program sets in a box without the focus.
    show("Text13", party + party);
    EXPECT_EQ(edit("Text13")->cursorPosition(), 0);
}

// How the focus arrives, and what the box then holds selected.
enum class WayIn { Click, SecondClick, Tab, ShiftTab, Arrow };
enum class Selected { All, Nothing, CaretAtClick };

struct EntryCase {
    const char* box;
    WayIn way;
    Selected expected;
};

// Only the line inputs select on entry; in any other box a click places the
// caret where it was, so a party name is mended rather than wiped. Tab and
// Shift+Tab keep the toolkit's own selection, which is the whole text.
TEST_F(LegibleTextTest, EachWayIntoEachKindOfBoxSelectsAsTheOperatorExpects) {
    const EntryCase cases[] = {
        {"Text6(2)", WayIn::Click, Selected::All},
        {"Text1(0)", WayIn::Click, Selected::All},
        {"Text1(0)", WayIn::SecondClick, Selected::CaretAtClick},
        {"Text3(4)", WayIn::Tab, Selected::All},
        {"Text4(4)", WayIn::ShiftTab, Selected::All},
        {"Text2(5)", WayIn::Arrow, Selected::All},
        {"Text10", WayIn::Click, Selected::CaretAtClick},
        {"Text10", WayIn::SecondClick, Selected::CaretAtClick},
        {"Text10", WayIn::Tab, Selected::All},
        {"Text11", WayIn::ShiftTab, Selected::All},
        {"Text12", WayIn::Click, Selected::CaretAtClick},
        {"Text13", WayIn::Click, Selected::CaretAtClick},
        {"Text14", WayIn::Click, Selected::CaretAtClick},
        {"Text14", WayIn::Arrow, Selected::Nothing},
        {"Text5(2)", WayIn::Click, Selected::CaretAtClick},
        {"Text7(2)", WayIn::Click, Selected::CaretAtClick},
        {"Text7(2)", WayIn::Arrow, Selected::Nothing},
        {"Text8", WayIn::Click, Selected::CaretAtClick},
        {"Text9", WayIn::Click, Selected::CaretAtClick},
        {"Text9", WayIn::Tab, Selected::All},
    };
    // Wider than any box, so that a click in its middle lands inside the text.
    const QString figure = QStringLiteral("1680.25").repeated(8);
    for (const EntryCase& c : cases) {
        const QString name = c.box;
        SCOPED_TRACE(c.box + std::string(" way ") + std::to_string(int(c.way)));
        show(name, figure);
        form->control("Text13")->setFocus(Qt::OtherFocusReason);
        if (name == "Text13") form->control("Text14")->setFocus(Qt::OtherFocusReason);
        FieldEdit* b = box(name);
        // Right of the middle: a caret there is neither at the start nor at the end.
        const QPoint at(b->width() * 3 / 5, b->height() / 2);
        switch (c.way) {
            case WayIn::Click:
                QTest::mouseClick(b, Qt::LeftButton, {}, at);
                break;
            case WayIn::SecondClick:
                QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
                QTest::mouseClick(b, Qt::LeftButton, {}, at);
                break;
            case WayIn::Tab:
                b->setFocus(Qt::TabFocusReason);
                break;
            case WayIn::ShiftTab:
                b->setFocus(Qt::BacktabFocusReason);
                break;
            case WayIn::Arrow: {
                // From the same column one line up, or from the box itself
                // where no line follows it: nothing moves then.
                const auto field = *parseFieldName(c.box);
                const bool column = isLineColumn(field.field) && field.field != Field::Text5 &&
                                    field.field != Field::Text7;
                const QString from =
                    column ? QString::fromStdString(fieldName({field.field, (field.index + 7) % 8}))
                           : name;
                form->control(from)->setFocus(Qt::OtherFocusReason);
                if (!column) b->setCursorPosition(2);
                QTest::keyClick(form->control(from), Qt::Key_Down);
                break;
            }
        }
        ASSERT_EQ(focused(), name);
        switch (c.expected) {
            case Selected::All:
                EXPECT_EQ(b->selectedText(), figure);
                break;
            case Selected::Nothing:
                EXPECT_FALSE(b->hasSelectedText());
                break;
            case Selected::CaretAtClick:
                EXPECT_FALSE(b->hasSelectedText());
                EXPECT_EQ(b->cursorPosition(), b->cursorPositionAt(at));
                EXPECT_GT(b->cursorPosition(), 0);
                EXPECT_LT(b->cursorPosition(), figure.size());
                break;
        }
    }
}

// What was selected is replaced by the next key; a caret gets the key beside it.
TEST_F(LegibleTextTest, TheKeyAfterAClickReplacesALineInputButMendsAPartyName) {
    const QString party = QStringLiteral("鑫源木业");
    show("Text10", party);
    show("Text6(2)", "1680");
    form->control("Text14")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(box("Text6(2)"), Qt::LeftButton, {}, box("Text6(2)")->rect().center());
    QTest::keyClicks(box("Text6(2)"), "1700");
    EXPECT_EQ(box("Text6(2)")->text(), "1700");

    FieldEdit* b = box("Text10");
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->width() - 4, b->height() / 2));
    QTest::keyClick(b, Qt::Key_Backspace);
    EXPECT_EQ(b->text(), party.left(party.size() - 1));
}

TEST_F(LegibleTextTest, ADragRightAfterTheEnteringPressKeepsTheWholeTextSelected) {
    show("Text2(4)", "2200");
    FieldEdit* b = box("Text2(4)");
    QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center());
    QTest::mouseMove(b, b->rect().center() + QPoint(8, 0));
    QTest::mouseRelease(b, Qt::LeftButton, {}, b->rect().center() + QPoint(8, 0));
    EXPECT_EQ(b->selectedText(), "2200");
}

}  // namespace
}  // namespace cubrix::testing
