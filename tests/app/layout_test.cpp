// The window against the figures it is required to have, written out here
// rather than read from app/form1_layout.cpp, so that a wrong entry in that
// table fails: every control's kind and rectangle, the tab cycle, the
// stacking at overlaps, fonts and alignments.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>

#include "form_fixture.h"

namespace cubrix::testing {
namespace {

struct Placed {
    const char* name;
    const char* kind;              // the Qt class the control must be
    int left, top, width, height;  // twips
};

// The required rectangles, in twips.
const Placed kPlaced[] = {
    {"Text8", "QLineEdit", 3960, 5385, 975, 355},
    {"Text9", "QLineEdit", 5640, 5385, 975, 355},
    {"Text10", "QLineEdit", 1800, 1305, 3540, 325},
    {"Text11", "QLineEdit", 6600, 1305, 2190, 325},
    {"Text12", "QLineEdit", 6600, 6225, 2190, 325},
    {"Text13", "QLineEdit", 1800, 6225, 3540, 325},
    {"Text14", "QLineEdit", 825, 5685, 1215, 315},
    {"Combo1", "QComboBox", 5475, 6285, 1000, 300},
    {"Combo2", "QComboBox", 5475, 1305, 1000, 300},
    {"Combo3", "QComboBox", 600, 1305, 1140, 300},
    {"Combo4", "QComboBox", 600, 6225, 1140, 300},
    {"Label3", "QLabel", 3240, 5505, 495, 375},
    {"Label6", "QLabel", 1320, 2025, 2775, 255},
    {"Label1(0)", "QLabel", 4320, 2025, 495, 255},
    {"Label1(2)", "QLabel", 5160, 2025, 495, 255},
    {"Label1(1)", "QLabel", 5880, 2025, 495, 255},
    {"Label5", "QLabel", 6975, 2040, 1695, 255},
    {"Label10", "QLabel", 1185, 5445, 615, 375},
    {"Command1", "QAbstractButton", 7200, 2640, 1200, 500},
    {"Command4", "QAbstractButton", 7200, 3300, 1200, 500},
    {"Command6", "QAbstractButton", 7200, 3960, 1200, 500},
    {"Command5", "QAbstractButton", 7200, 4620, 1200, 500},
    {"Command2", "QAbstractButton", 7200, 5640, 1200, 405},
};

QRect pixels(int l, int t, int w, int h) {
    auto px = [](int twips) { return static_cast<int>(twips / 15.0 + 0.5); };
    return {px(l), px(t), px(w), px(h)};
}

TEST_F(FormTest, WindowIsFramelessAndOfFixedSize) {
    EXPECT_EQ(form->size(), QSize(627, 481));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->windowTitle(), "Cubrix");
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_EQ(form->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly).size(), 63);
    EXPECT_EQ(form->findChildren<QComboBox*>().size(), 4);
    EXPECT_EQ(form->findChildren<QAbstractButton*>().size(), 5);
    EXPECT_EQ(form->findChildren<QLabel*>().size(), 7);
}

TEST_F(FormTest, EveryControlInItsPlace) {
    for (const auto& p : kPlaced) {
        QWidget* w = form->control(p.name);
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_TRUE(w->inherits(p.kind)) << p.name;
        EXPECT_EQ(w->geometry(), pixels(p.left, p.top, p.width, p.height)) << p.name;
    }
    const int lefts[] = {1080, 1800, 2520, 3240, 3960, 4920, 5640};
    const int widths[] = {855, 855, 855, 855, 975, 855, 975};
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 7; ++col) {
            const QString name = QString("Text%1(%2)").arg(col + 1).arg(row);
            EXPECT_EQ(form->control(name)->geometry(),
                      pixels(lefts[col], 2385 + 360 * row, widths[col], 375))
                << name.toStdString();
        }
}

TEST_F(FormTest, CaptionsListsFontsAndAlignment) {
    auto label = [&](const char* n) { return qobject_cast<QLabel*>(form->control(n))->text(); };
    EXPECT_EQ(label("Label6"), "（长、    宽、   厚、   件）");
    EXPECT_EQ(label("Label5"), "单位：立方米、元");
    EXPECT_EQ(label("Label1(0)"), "材积");
    EXPECT_EQ(label("Label1(1)"), "金额");
    EXPECT_EQ(label("Label1(2)"), "单价");
    EXPECT_EQ(label("Label3"), "合计");
    EXPECT_EQ(label("Label10"), "检尺员");
    struct Combo {
        const char* name;
        QString initial;
        QStringList items;
    };
    const QStringList vehicle = {"车号", "联系人", "电话", "银行账号", "厂址"};
    for (const Combo& c :
         {Combo{"Combo1", "联系人", vehicle}, Combo{"Combo2", "车号", vehicle},
          Combo{"Combo3", "购货单位", {"购货单位", "公司名称"}},
          Combo{"Combo4", "出货单位", {"出货单位", "银行账号", "联系人", "联系电话"}}}) {
        auto* combo = qobject_cast<QComboBox*>(form->control(c.name));
        EXPECT_TRUE(combo->isEditable()) << c.name;
        EXPECT_EQ(combo->currentText(), c.initial) << c.name;
        // The initial caption is the current item: the opened list starts there.
        EXPECT_EQ(combo->currentIndex(), c.items.indexOf(c.initial)) << c.name;
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        EXPECT_EQ(items, c.items) << c.name;
    }
    for (QLineEdit* e : form->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        EXPECT_EQ(e->font().family(), "宋体") << e->objectName().toStdString();
        EXPECT_DOUBLE_EQ(e->font().pointSizeF(), 10.5);
        EXPECT_TRUE(e->text().isEmpty());
        const bool left =
            QStringList{"Text10", "Text11", "Text12", "Text13"}.contains(e->objectName());
        EXPECT_EQ(e->alignment() & Qt::AlignHorizontal_Mask,
                  left ? Qt::AlignLeft : Qt::AlignHCenter)
            << e->objectName().toStdString();
    }
    // The Song face resolves to an installed Chinese face, not a box-drawing fallback.
    const QFontInfo info(edit("Text1(0)")->font());
    EXPECT_TRUE(QStringList({"AR PL UMing CN", "Noto Serif CJK SC", "WenQuanYi Zen Hei"})
                    .contains(info.family()))
        << info.family().toStdString();
}

TEST_F(FormTest, TabCycleAndInitialFocus) {
    EXPECT_EQ(focused(), "Text1(0)");
    QStringList expected;
    for (int row = 0; row < 8; ++row)
        for (int col : {1, 2, 3, 4, 6}) expected << QString("Text%1(%2)").arg(col).arg(row);
    for (int row = 0; row < 8; ++row)
        expected << QString("Text5(%1)").arg(row) << QString("Text7(%1)").arg(row);
    expected << "Text8"
             << "Text9"
             << "Command1"
             << "Command2"
             << "Command4"
             << "Text10"
             << "Text11"
             << "Text12"
             << "Text13"
             << "Text14"
             << "Combo1"
             << "Combo2"
             << "Combo3"
             << "Combo4"
             << "Command5"
             << "Command6"
             << "Text1(0)";
    QStringList seen;
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << focused();
    }
    expected.removeFirst();
    EXPECT_EQ(seen, expected);
}

TEST_F(FormTest, StackingAtOverlaps) {
    struct Overlap {
        QPoint at;  // a pixel covered by two controls
        const char* onTop;
    };
    const Overlap cases[] = {
        {{72 + 52, 159 + 10}, "Text2(0)"},        // right 9 px of Text1(0) under Text2(0)
        {{264 + 64, 159 + 10}, "Text6(0)"},       // last px of Text5(0) under Text6(0)
        {{376 + 60, 159 + 24 + 24}, "Text7(2)"},  // bottom px of Text7(1) under Text7(2)
        {{120 + 20, 159 + 7 * 24}, "Text2(7)"},   // row 6's bottom under row 7
        {{90, 381}, "Text14"},                    // Text14's top over Label10's rectangle
    };
    for (const auto& c : cases) {
        QWidget* w = form->childAt(c.at);
        while (w && w->parentWidget() != form.get()) w = w->parentWidget();
        ASSERT_NE(w, nullptr) << c.onTop;
        EXPECT_EQ(w->objectName(), c.onTop);
    }
}

}  // namespace
}  // namespace cubrix::testing
