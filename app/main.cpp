// Cubrix: a calculator for sawn-timber sales bills.
#include <QApplication>
#include <QScreen>

#include "app/form1.h"
#include "app/spreadsheet_backend.h"
#include "platform/qt/fonts.h"
#include "platform/qt/toolkit_texts.h"
#include "platform/qt/url_launcher.h"
#include "platform/qt/workbook_path.h"
#include "platform/qt/x11_images.h"

int main(int argc, char** argv) {
    cubrix::sendX11ImagesOverTheConnection();
    QApplication app(argc, argv);
    cubrix::keepX11ImageSettingToThisProgram();
    QApplication::setApplicationName(QStringLiteral("cubrix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cubrix"));
    QApplication::setApplicationVersion(QStringLiteral(CUBRIX_VERSION));
    cubrix::installFontSubstitutions();
    cubrix::installChineseToolkitTexts(app);

    cubrix::Form1 form1(
        {cubrix::makeSpreadsheet(), cubrix::systemUrlLauncher(), cubrix::workbookPath()});
    // Opens in the middle of the screen; having no frame, it has no place of
    // its own that a window manager would keep.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form1.move(screen->availableGeometry().center() - form1.rect().center());
    form1.show();
    return app.exec();
}
