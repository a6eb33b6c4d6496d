// Every picture of the window has a sharp drawing for high-density screens
// that covers the same area as its plain one.
#include <gtest/gtest.h>

#include "app/form1_layout.h"
#include "app/pictures.h"

namespace cubrix::testing {
namespace {

TEST(Pictures, EachDensityGetsItsDrawingOverTheSameArea) {
    registerPictures();
    QStringList paths = {":/assets/background.png"};
    for (const ButtonLook& look : buttonLooks()) {
        paths << look.face;
        if (!look.pressedFace.isEmpty()) paths << look.pressedFace;
    }
    struct Density {
        qreal ratio;
        qreal drawing;  // device pixels to the unit of the drawing shown
    };
    const Density densities[] = {{1.0, 1.0}, {1.25, 2.0}, {1.5, 2.0}, {2.0, 2.0}, {3.0, 2.0}};
    for (const QString& path : paths) {
        const Picture picture(path);
        ASSERT_FALSE(picture.isNull()) << path.toStdString();
        const QSize area = picture.forRatio(1).size();
        for (const Density& d : densities) {
            const QPixmap& shown = picture.forRatio(d.ratio);
            EXPECT_EQ(shown.devicePixelRatio(), d.drawing) << path.toStdString() << " " << d.ratio;
            EXPECT_EQ(shown.deviceIndependentSize().toSize(), area)
                << path.toStdString() << " " << d.ratio;
        }
    }
    // A picture drawn only once is shown enlarged.
    const Picture icon(":/assets/icon-32.png");
    EXPECT_EQ(icon.forRatio(2).devicePixelRatio(), 1.0);
    EXPECT_EQ(icon.forRatio(2).size(), QSize(32, 32));
}

}  // namespace
}  // namespace cubrix::testing
