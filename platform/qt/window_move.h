// The platform's own move of a frameless window, as a press on a caption bar
// starts it.
#pragma once

class QWidget;

namespace cubrix {

// Starts the move for a press that is down now. Returns false where the
// platform offers none (no window manager); the caller then moves the window
// itself.
bool startWindowMove(QWidget& window);

}  // namespace cubrix
