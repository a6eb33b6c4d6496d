#include "platform/qt/window_move.h"

#include <QWidget>
#include <QWindow>
#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace cubrix {

bool startWindowMove(QWidget& window) {
#ifdef Q_OS_WIN
    // The press on a caption bar that the window does not have, handed to
    // Windows, which then moves the window as it moves a framed one.
    ReleaseCapture();
    SendMessageA(reinterpret_cast<HWND>(window.winId()), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return true;
#else
    return window.windowHandle() && window.windowHandle()->startSystemMove();
#endif
}

}  // namespace cubrix
