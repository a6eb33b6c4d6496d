// The buttons and the window commands: clear, export, minimise, exit, home page,
// and the fixed size.
#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <chrono>
#include <functional>

#include "app/busy_pointer.h"
#include "form_fixture.h"

namespace cubrix::testing {
namespace {

void click(Form1& form, const char* name) {
    QTest::mouseClick(form.control(name), Qt::LeftButton);
}

TEST_F(FormTest, ClearEmptiesTheBillAndKeepsTheLowerPartyEntries) {
    for (int slot = 0; slot < kFieldCount; ++slot) {
        const FieldRef f = fieldAt(slot);
        if (f.field < Field::Combo1) form->sheet().set(f, u"7");
    }
    form->sheet().set(Field::Combo1, 0, u"电话");
    form->sheet().set(Field::Combo4, 0, u"联系电话");
    form->sheet().set(Field::Combo3, 0, u"公司名称");
    click(*form, "Command1");
    ticks();
    for (int slot = 0; slot < kFieldCount; ++slot) {
        const FieldRef f = fieldAt(slot);
        const bool kept = f.field == Field::Text12 || f.field == Field::Text13 ||
                          f.field == Field::Text14 || f.field >= Field::Combo1;
        if (!kept) {
            EXPECT_TRUE(form->sheet().text(f).empty()) << fieldName(f);
        }
    }
    EXPECT_EQ(text("Text12"), "7");
    EXPECT_EQ(text("Text13"), "7");
    EXPECT_EQ(text("Text14"), "7");
    EXPECT_EQ(qobject_cast<QComboBox*>(form->control("Combo1"))->currentText(), "电话");
    EXPECT_EQ(qobject_cast<QComboBox*>(form->control("Combo4"))->currentText(), "联系电话");
    EXPECT_EQ(qobject_cast<QComboBox*>(form->control("Combo3"))->currentText(), "公司名称");
    EXPECT_EQ(qobject_cast<QComboBox*>(form->control("Combo2"))->currentText(), "车号");
    EXPECT_TRUE(form->timer1().isActive());
}

TEST_F(FormTest, AFocusedButtonAnswersSpaceAndEnter) {
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        form->sheet().set(Field::Text1, 0, u"4");
        form->control("Command1")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->control("Command1"), key);
        ticks(200);  // an animated click lands a moment later
        EXPECT_TRUE(form->sheet().text(Field::Text1, 0).empty()) << key;
    }
}

TEST_F(FormTest, ForcedResizeIsUndoneAndMinimiseRestoresTheFixedSize) {
    form->resize(700, 300);
    EXPECT_EQ(form->size(), QSize(627, 481));
    click(*form, "Command6");
    EXPECT_TRUE(form->windowState() & Qt::WindowMinimized);
    form->resize(500, 200);  // whatever size the platform gives a minimised window
    EXPECT_EQ(form->size(), QSize(500, 200));
    form->setWindowState(Qt::WindowNoState);
    form->showNormal();
    EXPECT_EQ(form->size(), QSize(627, 481));
}

TEST_F(FormTest, OnlyAPressOnTheBackgroundDragsTheWindow) {
    struct Press {
        QWidget* on;
        QPoint at;
        Qt::MouseButton button;
        bool moves;
    };
    const Press presses[] = {
        {form.get(), {20, 30}, Qt::LeftButton, true},   // the title band
        {form.get(), {20, 30}, Qt::RightButton, true},  // any button drags
        {form->control("Command1"), {10, 10}, Qt::RightButton, false},
        {form->control("Command1"), {10, 10}, Qt::MiddleButton, false},
        {form->control("Combo1"), {60, 10}, Qt::RightButton, false},  // its arrow
        {form->control("Label6"), {10, 5}, Qt::LeftButton, false},
        {form->control("Text1(0)"), {10, 5}, Qt::RightButton, false},
    };
    for (const Press& p : presses) {
        const QPoint before = form->pos();
        QTest::mousePress(p.on, p.button, {}, p.at);
        QMouseEvent move(QEvent::MouseMove, p.at + QPoint(30, 20),
                         p.on->mapToGlobal(p.at + QPoint(30, 20)), Qt::NoButton, p.button, {});
        QApplication::sendEvent(form.get(), &move);
        QTest::mouseRelease(p.on, p.button, {}, p.at + QPoint(30, 20));
        QApplication::processEvents();
        EXPECT_EQ(form->pos() != before, p.moves)
            << p.on->objectName().toStdString() << " " << p.button;
        closeMessages();  // a right click on a box may open its menu
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QMenu")) w->close();
    }
}

TEST_F(FormTest, TextsLongerThanAnyBoxLimitSurviveAnEdit) {
    const std::u16string longText(40000, u'7');
    form->sheet().set(Field::Text10, 0, longText);
    form->sheet().set(Field::Combo4, 0, longText);
    QApplication::processEvents();
    EXPECT_EQ(text("Text10").size(), 40000);
    edit("Text10")->setFocus();
    edit("Text10")->end(false);
    QTest::keyClick(edit("Text10"), Qt::Key_Backspace);
    EXPECT_EQ(form->sheet().text(Field::Text10).size(), 39999u);
    auto* combo = qobject_cast<QComboBox*>(form->control("Combo4"));
    EXPECT_EQ(combo->currentText().size(), 40000);
}

TEST_F(FormTest, ExitEndsTheEventLoopWithABillFilledIn) {
    type("Text1(0)", "4");
    QTimer::singleShot(0, [this] { click(*form, "Command5"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });  // never reached when it works
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

TEST_F(FormTest, HomePageLaunchesOncePerClickAndAFailedLaunchIsOnlyAMessage) {
    click(*form, "Command2");
    click(*form, "Command2");
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0].scheme(), "https");
    launcherWorks = false;
    answerMessages();
    type("Text1(0)", "4");
    click(*form, "Command2");
    EXPECT_EQ(seenMessages.size(), 1);
    EXPECT_TRUE(seenMessages.value(0).contains("无法打开主页"));
    EXPECT_EQ(text("Text1(0)"), "4");  // the bill is still there
}

TEST_F(FormTest, ExportShowsTheReminderOnceAndExportsTheBill) {
    answerMessages();
    type("Text1(0)", "4.2");
    type("Text13", "林场");
    ticks();
    click(*form, "Command4");
    EXPECT_EQ(seenMessages, QStringList{"每次打印前请先关闭*Tarnel账单*"});
    EXPECT_EQ(spreadsheet->count('E'), 65);
    EXPECT_EQ(spreadsheet->instancesShown, 1);
    EXPECT_EQ(std::get<std::u16string>(spreadsheet->cells.at({14, 2})), u"林场");
    click(*form, "Command4");
    EXPECT_EQ(seenMessages.size(), 1);
    EXPECT_EQ(form->exportCounter(), 2);
}

TEST_F(FormTest, ClicksQueuedWhileAnExportRunsAreNoSecondExport) {
    answerMessages();
    QWidget* exportButton = form->control("Command4");
    // Input that reaches the window only once the export is done.
    spreadsheet->whileSaving = [&] {
        const QPointF at(10, 10);
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                exportButton,
                new QMouseEvent(type, at, exportButton->mapToGlobal(at), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
        QCoreApplication::postEvent(
            edit("Text14"), new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    };
    // Queued input is handled while the pointer still waits for the bill's
    // window.
    bool busyWhileQueuedInput = false;
    QObject::connect(edit("Text14"), &QLineEdit::textChanged,
                     [&] { busyWhileQueuedInput = QApplication::overrideCursor() != nullptr; });
    click(*form, "Command4");
    QApplication::processEvents();
    EXPECT_TRUE(busyWhileQueuedInput);
    EXPECT_EQ(spreadsheet->count('F'), 1);
    EXPECT_EQ(form->exportCounter(), 1);
    EXPECT_EQ(text("Text14"), "a");  // a key typed meanwhile is kept
    // A click after the export is an export again.
    spreadsheet->whileSaving = nullptr;
    click(*form, "Command4");
    EXPECT_EQ(spreadsheet->count('F'), 2);
}

TEST_F(FormTest, BusyPointerEndsWhenTheBillsWindowTakesTheFocusOrAtTheBound) {
    struct Case {
        const char* name;
        std::chrono::milliseconds bound;
        std::function<void(QWidget& other)> meanwhile;  // after the call returned
        bool busyAfter;
    };
    const auto takeFocus = [](QWidget& other) {
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    };
    const Case cases[] = {
        {"no window yet", std::chrono::hours(1), [](QWidget&) {}, true},
        {"another window takes the focus", std::chrono::hours(1), takeFocus, false},
        {"a message of ours opens", std::chrono::hours(1),
         [](QWidget& other) {
             auto* box =
                 new QMessageBox(QMessageBox::Information, "", "x", QMessageBox::Ok, &other);
             box->setAttribute(Qt::WA_DeleteOnClose);
             box->setWindowModality(Qt::ApplicationModal);
             box->show();
             ASSERT_TRUE(QTest::qWaitForWindowActive(box));
         },
         true},
        {"the window never comes", std::chrono::milliseconds(0), [](QWidget&) {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QWidget other;
        BusyPointer busy(c.bound);
        busy.begin();
        busy.endWhenShown(*form);
        c.meanwhile(other);
        QTest::qWait(20);
        EXPECT_EQ(busy.on(), c.busyAfter);
        EXPECT_EQ(QApplication::overrideCursor() != nullptr, c.busyAfter);
        closeMessages();
    }
}

TEST_F(FormTest, MessagesAndMenusSpeakChinese) {
    QMessageBox box(QMessageBox::Warning, "Cubrix", "x", QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove('&'), "确定");
    std::unique_ptr<QMenu> menu(edit("Text10")->createStandardContextMenu());
    QStringList items;
    for (QAction* a : menu->actions()) items << a->text();
    EXPECT_TRUE(items.join(' ').contains("粘贴")) << items.join(' ').toStdString();
}

TEST_F(FormTest, ExportThatFailsTwiceShowsWhatToDoAndKeepsTheBill) {
    answerMessages();
    spreadsheet->failAt('C', 1, SpreadsheetError::FileMissing, true);
    type("Text1(0)", "4.2");
    click(*form, "Command4");
    ASSERT_EQ(seenMessages.size(), 2);  // the reminder, then the failure
    EXPECT_TRUE(seenMessages[1].contains("找不到账单工作簿")) << seenMessages[1].toStdString();
    EXPECT_TRUE(seenMessages[1].contains("/tmp/Tarnel账单.xls"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(text("Text1(0)"), "4.2");
    EXPECT_EQ(spreadsheet->instancesAlive, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the busy cursor is gone
}

}  // namespace
}  // namespace cubrix::testing
