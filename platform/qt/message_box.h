// Modal messages of the window: the print reminder, failures that the
// operator can act on, and the dialog of an unexpected failure.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace cubrix {

struct Failure;

// Shows `text` with an OK button and returns once the operator dismissed it.
void showMessage(QWidget* parent, const QString& text);

// "错误 N：text", with a warning icon; returns once dismissed.
void showFailure(QWidget* parent, const Failure& failure);

// The same with a second button, `choice`, beside OK; true when the operator
// chose it.
bool showFailureWithChoice(QWidget* parent, const Failure& failure, const QString& choice);

// The same, without waiting: the window and its timer keep running while it
// is open. `onClosed` runs once it is dismissed.
void showFailureWithoutWaiting(QWidget* parent, const Failure& failure,
                               std::function<void()> onClosed);

QString failureText(const Failure& failure);

}  // namespace cubrix
