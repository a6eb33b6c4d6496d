// What the operator sees of the window's layout, measured on the shown window
// rather than read back from the layout tables: how much of each grid box
// stays visible where boxes overlap, which party entry stands out of its line,
// and that every control sits on the painted bill panel.
#include <QImage>

#include "form_fixture.h"

namespace cubrix::testing {
namespace {

constexpr int kTwipsPerPx = 15;
const QRect kPanel(QPoint(10, 81), QPoint(617, 447));  // inclusive corners, px
const QColor kPanelGrey(196, 197, 201);

// The direct child of the window seen at a point (a combo box for its line edit).
QString topmostAt(Form1& form, QPoint at) {
    QWidget* w = form.childAt(at);
    while (w && w->parentWidget() != &form) w = w->parentWidget();
    return w ? w->objectName() : QString();
}

// How many pixels of `name` can be seen along its middle line, across
// (horizontal) or down the box.
int visiblePixels(Form1& form, const QString& name, bool horizontal) {
    const QRect box = form.control(name)->geometry();
    int seen = 0;
    const int length = horizontal ? box.width() : box.height();
    for (int step = 0; step < length; ++step) {
        const QPoint at = horizontal ? QPoint(box.left() + step, box.center().y())
                                     : QPoint(box.center().x(), box.top() + step);
        if (topmostAt(form, at) == name) ++seen;
    }
    return seen;
}

QString gridName(int column, int row) {
    return QString("Text%1(%2)").arg(column).arg(row);
}

TEST_F(FormTest, GridBoxesShowTheirBandsAcrossEveryRow) {
    struct Column {
        int number;       // Text1 .. Text7
        int shownTwips;   // seen along a line across the box
        int hiddenTwips;  // its right edge under the next column
    };
    const Column columns[] = {
        {1, 720, 135}, {2, 720, 135}, {3, 720, 135}, {4, 720, 135},
        {5, 960, 15},  {6, 720, 135}, {7, 975, 0},
    };
    for (int row = 0; row < 8; ++row)
        for (const Column& c : columns) {
            const QString name = gridName(c.number, row);
            const int width = form->control(name)->width();
            const int shown = visiblePixels(*form, name, true);
            EXPECT_EQ(shown * kTwipsPerPx, c.shownTwips) << name.toStdString();
            EXPECT_EQ((width - shown) * kTwipsPerPx, c.hiddenTwips) << name.toStdString();
            if (c.hiddenTwips == 0) continue;
            const QRect box = form->control(name)->geometry();
            const QString next = gridName(c.number + 1, row);
            EXPECT_EQ(topmostAt(*form, {box.right(), box.center().y()}), next);
        }
}

TEST_F(FormTest, EachRowReachesUnderTheRowBelow) {
    for (int column = 1; column <= 7; ++column)
        for (int row = 0; row < 8; ++row) {
            const QString name = gridName(column, row);
            const int height = form->control(name)->height();
            const int hidden = height - visiblePixels(*form, name, false);
            // The last row has no row below it and shows whole.
            EXPECT_EQ(hidden * kTwipsPerPx, row < 7 ? 15 : 0) << name.toStdString();
            if (row == 7) continue;
            const QRect box = form->control(name)->geometry();
            EXPECT_EQ(topmostAt(*form, {box.center().x(), box.bottom()}),
                      gridName(column, row + 1));
        }
}

TEST_F(FormTest, PartyEntriesShareTheirLinesButCombo1) {
    auto top = [&](const char* name) { return form->control(name)->geometry().top(); };
    struct Line {
        const char* first;
        std::vector<const char*> others;  // tops level with the first
    };
    const Line lines[] = {
        {"Combo3", {"Text10", "Combo2", "Text11"}},
        {"Combo4", {"Text13", "Text12"}},
    };
    for (const Line& line : lines)
        for (const char* other : line.others) EXPECT_EQ(top(other), top(line.first)) << other;
    EXPECT_EQ((top("Combo1") - top("Combo4")) * kTwipsPerPx, 60);
    // Lower, yet still on its line: it overlaps the neighbours' height.
    EXPECT_LT(top("Combo1"), form->control("Text12")->geometry().bottom());
}

TEST_F(FormTest, EveryControlLiesOnThePanel) {
    // The window's own drawing, without its controls.
    QImage surface(form->size(), QImage::Format_RGB32);
    form->render(&surface, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    auto panelGrey = [&](QPoint at) {
        const QColor c = surface.pixelColor(at);
        return std::abs(c.red() - kPanelGrey.red()) <= 2 &&
               std::abs(c.green() - kPanelGrey.green()) <= 2 &&
               std::abs(c.blue() - kPanelGrey.blue()) <= 2;
    };
    const auto children = form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), 79);
    for (const QWidget* w : children) {
        const QRect box = w->geometry();
        EXPECT_TRUE(kPanel.contains(box)) << w->objectName().toStdString();
        for (QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
            EXPECT_TRUE(panelGrey(corner)) << w->objectName().toStdString();
    }
}

// The scripts that drive the window click each control at the centre that
// tools/window-facts gives them: no other control may cover it.
TEST_F(FormTest, EveryControlShowsItsCentre) {
    for (const QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect box = w->geometry();
        const QPoint centre(box.x() + box.width() / 2, box.y() + box.height() / 2);
        EXPECT_EQ(topmostAt(*form, centre), w->objectName()) << w->objectName().toStdString();
    }
}

}  // namespace
}  // namespace cubrix::testing
