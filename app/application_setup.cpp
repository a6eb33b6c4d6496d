#include "app/application_setup.h"

#include "platform/qt/fonts.h"
#include "platform/qt/toolkit_texts.h"
#include "platform/qt/x11_images.h"

namespace cubrix {

std::unique_ptr<QApplication> makeApplication(int& argc, char** argv) {
    // The image setting is read while the application connects to the
    // display, so it has to be in place first and can be taken back after.
    sendX11ImagesOverTheConnection();
    auto app = std::make_unique<QApplication>(argc, argv);
    keepX11ImageSettingToThisProgram();
    QApplication::setApplicationName(QStringLiteral("cubrix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cubrix"));
    QApplication::setApplicationVersion(QStringLiteral(CUBRIX_VERSION));
    installFontSubstitutions();
    installChineseToolkitTexts(*app);
    return app;
}

}  // namespace cubrix
