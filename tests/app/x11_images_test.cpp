// The X11 image setting is the window's own: made only where the user made
// none, and taken back before any program is started from the window.
#include "platform/qt/x11_images.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <string>

namespace cubrix::testing {
namespace {

TEST(X11Images, SetForTheWindowOnlyAndNotPassedOn) {
    struct Case {
        const char* user;  // the user's own value, or none
        const char* duringStart;
        const char* afterStart;  // what programs started from the window see
    };
    const Case cases[] = {{nullptr, "1", nullptr}, {"0", "0", "0"}, {"1", "1", "1"}};
    auto value = []() -> std::string {
        return qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")
                   ? qEnvironmentVariable("QT_XCB_NO_MITSHM").toStdString()
                   : "(unset)";
    };
    const QByteArray saved = qgetenv("QT_XCB_NO_MITSHM");
    const bool wasSet = qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    for (const Case& c : cases) {
        if (c.user)
            qputenv("QT_XCB_NO_MITSHM", c.user);
        else
            qunsetenv("QT_XCB_NO_MITSHM");
        sendX11ImagesOverTheConnection();
        EXPECT_EQ(value(), c.duringStart) << (c.user ? c.user : "none");
        keepX11ImageSettingToThisProgram();
        EXPECT_EQ(value(), c.afterStart ? c.afterStart : "(unset)") << (c.user ? c.user : "none");
    }
    if (wasSet)
        qputenv("QT_XCB_NO_MITSHM", saved);
    else
        qunsetenv("QT_XCB_NO_MITSHM");
}

}  // namespace
}  // namespace cubrix::testing
