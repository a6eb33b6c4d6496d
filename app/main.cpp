// Cubrix: a calculator for sawn-timber sales bills.
#include <QApplication>

#include "app/form1.h"
#include "app/spreadsheet_backend.h"
#include "platform/qt/fonts.h"
#include "platform/qt/url_launcher.h"
#include "platform/qt/workbook_path.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cubrix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cubrix"));
    QApplication::setApplicationVersion(QStringLiteral(CUBRIX_VERSION));
    cubrix::installFontSubstitutions();

    cubrix::Form1 form1(
        {cubrix::makeSpreadsheet(), cubrix::systemUrlLauncher(), cubrix::workbookPath()});
    form1.show();
    return app.exec();
}
