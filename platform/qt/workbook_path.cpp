#include "platform/qt/workbook_path.h"

#include <QDir>
#include <QStandardPaths>

namespace cubrix {

QString workbookPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("d:\\") + QString::fromUtf16(kWorkbookFileName);
#else
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).filePath(QString::fromUtf16(kWorkbookFileName));
#endif
}

}  // namespace cubrix
