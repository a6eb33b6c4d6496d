#include "platform/qt/url_launcher.h"

#include <QDesktopServices>

namespace cubrix {

UrlLauncher systemUrlLauncher() {
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

}  // namespace cubrix
