// The bill as the operator keys it: computed fields follow within a few ticks,
// zero results stay empty, an overflow is reported once and mended by typing.
#include <QComboBox>

#include "bill/utf8.h"
#include "form_fixture.h"
#include "tools/sheet-probe/probe_case.h"

namespace cubrix::testing {
namespace {

TEST_F(FormTest, TypingTheWorkedExampleShowsVolumesAmountsAndTotals) {
    // Its lines keyed into the boxes; then every line box and both totals as
    // the case's pass shows them.
    for (const auto& [field, keys] : probe::readCase("worked_example.in"))
        if (isLineColumn(field.field))
            type(QString::fromStdString(fieldName(field)), QString::fromStdU16String(keys));
    ticks();
    const auto shown = probe::readCase("worked_example.out");
    for (const auto& [field, expected] : shown)
        if (isLineColumn(field.field) || field.field == Field::Text8 ||
            field.field == Field::Text9) {
            EXPECT_EQ(text(QString::fromStdString(fieldName(field))).toStdString(),
                      toUtf8(expected))
                << fieldName(field);
        }
    // The sheet holds what the boxes show.
    EXPECT_EQ(form->sheet().text(Field::Text9), probe::textOf(shown, {Field::Text9}));
}

TEST_F(FormTest, EditsGoThroughTheSheetAndChangesShow) {
    type("Text10", "某木材厂");
    EXPECT_EQ(form->sheet().text(Field::Text10), u"某木材厂");
    form->sheet().set(Field::Text11, 0, u"京A12345");
    QApplication::processEvents();  // shown once the current event is done
    EXPECT_EQ(text("Text11"), "京A12345");
    // A first keystroke of 0 in an amount field is emptied at once.
    type("Text7(3)", "0");
    EXPECT_EQ(text("Text7(3)"), "");
    // A caption typed in a caption box is kept but not added to its list.
    auto* combo = qobject_cast<QComboBox*>(form->control("Combo2"));
    combo->setFocus();
    combo->lineEdit()->selectAll();
    typeInto(combo->lineEdit(), "司机");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form->sheet().text(Field::Combo2), u"司机");
    EXPECT_EQ(combo->count(), 5);
    // Picking an item from the list is a set too.
    combo->setCurrentIndex(2);
    EXPECT_EQ(form->sheet().text(Field::Combo2), u"电话");
    // A caption that begins a list item stays as typed, also after Return.
    auto* parties = qobject_cast<QComboBox*>(form->control("Combo4"));
    parties->setFocus();
    parties->lineEdit()->selectAll();
    typeInto(parties->lineEdit(), "联系");
    EXPECT_EQ(parties->currentText(), "联系");
    QTest::keyClick(parties->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form->sheet().text(Field::Combo4), u"联系");
    // Up and Down step through the list from the caption shown.
    auto* contact = qobject_cast<QComboBox*>(form->control("Combo1"));
    contact->setFocus();
    QTest::keyClick(contact, Qt::Key_Up);
    EXPECT_EQ(form->sheet().text(Field::Combo1), u"车号");
    // A list caption set through the sheet becomes the current item.
    form->sheet().set(Field::Combo1, 0, u"银行账号");
    QApplication::processEvents();
    QTest::keyClick(contact, Qt::Key_Down);
    EXPECT_EQ(form->sheet().text(Field::Combo1), u"厂址");
}

TEST_F(FormTest, OverflowIsReportedOnceAndTheWindowRecovers) {
    type("Text1(0)", "2");
    type("Text2(0)", "100");
    type("Text3(0)", "100");
    type("Text4(0)", "1");
    type("Text1(2)", "1E200");
    type("Text2(2)", "1E200");
    ticks(100);  // many failing passes
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().front()->text().startsWith("错误 6：溢出：第 3 行"))
        << messages().front()->text().toStdString();
    EXPECT_TRUE(form->isVisible());
    // Lines above the failing one still follow the inputs while the message is open.
    type("Text4(0)", "0");  // appends: pieces now 10
    ticks();
    EXPECT_EQ(text("Text5(0)"), "0.2000");
    EXPECT_EQ(messages().size(), 1);
    closeMessages();
    ticks();
    EXPECT_EQ(messages().size(), 0);  // the same failure is not reported again
    // Mending the input brings the rest of the bill back.
    edit("Text2(2)")->setFocus();
    edit("Text2(2)")->selectAll();
    QTest::keyClicks(edit("Text2(2)"), "0");
    ticks();
    EXPECT_EQ(text("Text8"), "0.2000");
    EXPECT_EQ(messages().size(), 0);
    // A new overflow after a good pass is reported again.
    edit("Text2(2)")->selectAll();
    QTest::keyClicks(edit("Text2(2)"), "1E300");
    ticks();
    EXPECT_EQ(messages().size(), 1);
}

// The worked example's first line, then a line too large to compute: no
// field keeps a figure of the bill before, and none of it is exported.
TEST_F(FormTest, AfterAnOverflowNoStaleFigureIsShownOrExported) {
    type("Text1(0)", "4.2");
    type("Text2(0)", "150");
    type("Text3(0)", "25");
    type("Text4(0)", "1");
    type("Text6(0)", "1000");
    ticks();
    ASSERT_EQ(text("Text9"), "15.8000");
    type("Text1(1)", "1E200");
    type("Text2(1)", "1E200");
    type("Text3(1)", "1");
    type("Text4(1)", "1");
    ticks();
    closeMessages();
    form->activateWindow();  // as the desktop does once the message is gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), kPatience));
    edit("Text6(0)")->setFocus();
    edit("Text6(0)")->selectAll();
    QTest::keyClicks(edit("Text6(0)"), "2000");
    ticks();
    EXPECT_EQ(text("Text7(0)"), "31.60");
    for (const char* computed : {"Text5(1)", "Text7(1)", "Text8", "Text9"})
        EXPECT_EQ(text(computed), "") << computed;

    answerMessages();
    QTest::mouseClick(form->control("Command4"), Qt::LeftButton);
    ASSERT_EQ(seenMessages.size(), 1);  // no reminder: nothing was exported
    EXPECT_TRUE(seenMessages[0].contains("第 2 行")) << seenMessages[0].toStdString();
    EXPECT_TRUE(spreadsheet->calls.empty());
    EXPECT_EQ(form->exportCounter(), 0);
    EXPECT_EQ(text("Text1(1)"), "1E200");
}

}  // namespace
}  // namespace cubrix::testing
