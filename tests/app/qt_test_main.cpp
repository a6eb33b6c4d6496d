// GoogleTest with one QApplication for the whole run, set up as the program
// sets up its own.
#include <gtest/gtest.h>

#include "app/application_setup.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The window tests need no display; test discovery runs without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto app = cubrix::makeApplication(argc, argv);
    return RUN_ALL_TESTS();
}
