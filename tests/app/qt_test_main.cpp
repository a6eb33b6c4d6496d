// GoogleTest with one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/fonts.h"
#include "platform/qt/toolkit_texts.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The window tests need no display; test discovery runs without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cubrix::installFontSubstitutions();
    cubrix::installChineseToolkitTexts(app);
    return RUN_ALL_TESTS();
}
