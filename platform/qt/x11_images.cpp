#include "platform/qt/x11_images.h"

#include <QByteArray>
#include <QtGlobal>

namespace cubrix {

void sendX11ImagesOverTheConnection() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
}

}  // namespace cubrix
