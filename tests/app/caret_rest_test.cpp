// The caret stops blinking after a quiet spell, stays shown, and blinks again
// at the operator's next input; a desktop that never blinks it is left alone.
#include "platform/qt/caret_rest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

namespace cubrix::testing {
namespace {

using namespace std::chrono_literals;

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class CaretRestTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktopFlashTime = QGuiApplication::styleHints()->cursorFlashTime();
        QApplication::setCursorFlashTime(kFlashTime);
        window.resize(200, 60);
        edit = new QLineEdit(&window);
        edit->setGeometry(10, 10, 120, 25);
        edit->setText("0.0188");
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window, kPatience));
        edit->setFocus();
    }
    void TearDown() override { QApplication::setCursorFlashTime(desktopFlashTime); }

    int paintsDuring(std::chrono::milliseconds spell) {
        PaintCounter counter(edit);
        QTest::qWait(int(spell.count()));
        return counter.paints;
    }
    // The caret is painted twice (a blink) before `limit`; a loaded machine
    // may paint late, so the count matters, not the time.
    bool blinks(int limit = kPatience) {
        PaintCounter counter(edit);
        return QTest::qWaitFor([&] { return counter.paints >= 2; }, limit);
    }
    // A spell of three blinks without a paint comes before `limit`.
    bool settles() {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < kPatience)
            if (paintsDuring(3 * std::chrono::milliseconds(kFlashTime)) == 0) return true;
        return false;
    }

    static constexpr int kFlashTime = 60;   // a blink every 30 ms
    static constexpr int kPatience = 5000;  // ms; only a failing test waits this long
    int desktopFlashTime = 0;
    QWidget window;
    QLineEdit* edit = nullptr;
};

TEST_F(CaretRestTest, RestsAfterTheQuietSpellAndWakesAtEachKindOfInput) {
    // Long enough beside the 30 ms blink that a busy machine still blinks
    // before the rest.
    CaretRest rest(500ms);
    rest.watch(edit);
    EXPECT_TRUE(blinks(400)) << "the caret blinks at first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return rest.resting(); }, kPatience));
    EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), 0);
    ASSERT_TRUE(settles()) << "the caret is painted shown once more, then no more";
    EXPECT_EQ(paintsDuring(300ms), 0) << "a resting caret repaints nothing";

    const std::function<void()> inputs[] = {
        [&] { QTest::keyClick(edit, Qt::Key_End); },
        [&] { QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5)); },
        [&] {
            QInputMethodEvent typed;
            typed.setCommitString("5");
            QApplication::sendEvent(edit, &typed);
        },
    };
    for (std::size_t k = 0; k < std::size(inputs); ++k) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return rest.resting(); }, kPatience)) << k;
        inputs[k]();
        EXPECT_FALSE(rest.resting()) << k;
        EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), kFlashTime) << k;
        EXPECT_TRUE(blinks(400)) << "blinking again after input " << k;
    }
}

// The blink belongs to the whole application: two windows share one spell.
TEST_F(CaretRestTest, TwoWindowsShareOneSpell) {
    QWidget other;
    auto* otherEdit = new QLineEdit(&other);
    other.show();
    CaretRest first(100ms);
    first.watch(edit);
    {
        CaretRest second(100ms);
        second.watch(otherEdit);
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.resting(); }, kPatience));
        EXPECT_TRUE(first.resting());
        QTest::keyClick(otherEdit, Qt::Key_End);  // input in the other window wakes both
        EXPECT_FALSE(first.resting());
        EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), kFlashTime);
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.resting(); }, kPatience));
    }
    // The spell outlives one of its windows.
    EXPECT_TRUE(first.resting());
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), kFlashTime);
}

TEST_F(CaretRestTest, GivesTheFlashTimeBackWhenItEnds) {
    {
        CaretRest rest(50ms);
        ASSERT_TRUE(QTest::qWaitFor([&] { return rest.resting(); }, kPatience));
    }
    EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), kFlashTime);
}

TEST_F(CaretRestTest, LeavesACaretThatNeverBlinksAlone) {
    QApplication::setCursorFlashTime(0);
    CaretRest rest(50ms);
    rest.watch(edit);
    QTest::qWait(150);
    EXPECT_FALSE(rest.resting());
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), 0);
}

}  // namespace
}  // namespace cubrix::testing
