// Prints where the calculator looks for the bill workbook, so that set-up
// scripts put the template in the same place.
#include <QCoreApplication>
#include <QTextStream>

#include "platform/qt/workbook_path.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << cubrix::workbookPath() << '\n';
    return 0;
}
