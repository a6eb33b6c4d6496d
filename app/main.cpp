// Cubrix: a calculator for sawn-timber sales bills.
#include <QScreen>
#include <QSettings>

#include "app/application_setup.h"
#include "app/form1.h"
#include "app/printout_choices.h"
#include "app/spreadsheet_backend.h"
#include "platform/qt/url_launcher.h"
#include "platform/qt/workbook_path.h"

int main(int argc, char** argv) {
    const auto app = cubrix::makeApplication(argc, argv);

    cubrix::Form1 form1({cubrix::makeSpreadsheet(), cubrix::systemUrlLauncher(),
                         cubrix::workbookPath(), cubrix::userSettings()});
    // Opens in the middle of the screen; having no frame, it has no place of
    // its own that a window manager would keep.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form1.move(screen->availableGeometry().center() - form1.rect().center());
    form1.show();
    return app->exec();
}
