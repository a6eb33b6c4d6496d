// How the window's pictures reach an X11 server.
#pragma once

namespace cubrix {

// Call before the QApplication is made. The window repaints only small
// areas once it is up (a blinking caret, a changed box). Through X shared
// memory each such repaint first waits for the server to finish with the last
// one, a round trip that wakes Qt's X reader thread; sent over the connection
// instead, a caret blink costs about half the CPU time. Only the first full
// paint gets slower, by a few ms. Someone who sets QT_XCB_NO_MITSHM
// themselves keeps their choice; other platforms ignore it.
void sendX11ImagesOverTheConnection();

// Call right after the QApplication is made, which has read the setting by
// then: the programs the window starts (the spreadsheet, the browser) keep
// their own default.
void keepX11ImageSettingToThisProgram();

}  // namespace cubrix
