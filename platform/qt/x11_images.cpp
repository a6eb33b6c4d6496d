#include "platform/qt/x11_images.h"

#include <QByteArray>
#include <QtGlobal>

namespace cubrix {
namespace {

constexpr const char* kNoSharedMemory = "QT_XCB_NO_MITSHM";
bool setHere = false;

}  // namespace

void sendX11ImagesOverTheConnection() {
    if (qEnvironmentVariableIsSet(kNoSharedMemory)) return;
    qputenv(kNoSharedMemory, "1");
    setHere = true;
}

void keepX11ImageSettingToThisProgram() {
    if (!setHere) return;
    qunsetenv(kNoSharedMemory);
    setHere = false;
}

}  // namespace cubrix
