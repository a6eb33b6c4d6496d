// The road of a failure that no handler expected: its dialog, then the end of
// the program. Handlers that can fail in ways the operator can mend report
// those themselves and never take this road.
#pragma once

#include <functional>

class QWidget;

namespace cubrix {

// Runs `handler`; an exception escaping it is shown with its number and text,
// after which the event loop ends with exit code 1.
void runHandler(QWidget* parent, const std::function<void()>& handler);

}  // namespace cubrix
