#include "platform/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "bill/failure.h"
#include "platform/qt/failure_texts.h"

namespace cubrix {
namespace {

QMessageBox* makeBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    auto* box = new QMessageBox(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                                parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

}  // namespace

QString failureText(const Failure& failure) {
    return QString::fromUtf8(kFailureFormat)
        .arg(failure.number)
        .arg(QString::fromStdString(failure.text));
}

void showMessage(QWidget* parent, const QString& text) {
    makeBox(parent, QMessageBox::NoIcon, text)->exec();
}

void showFailure(QWidget* parent, const Failure& failure) {
    makeBox(parent, QMessageBox::Warning, failureText(failure))->exec();
}

bool showFailureWithChoice(QWidget* parent, const Failure& failure, const QString& choice) {
    QMessageBox* box = makeBox(parent, QMessageBox::Warning, failureText(failure));
    box->setAttribute(Qt::WA_DeleteOnClose, false);  // asked for its answer below
    QAbstractButton* chosen = box->addButton(choice, QMessageBox::ActionRole);
    box->setDefaultButton(QMessageBox::Ok);
    box->exec();
    const bool choiceTaken = box->clickedButton() == chosen;
    delete box;
    return choiceTaken;
}

void showFailureWithoutWaiting(QWidget* parent, const Failure& failure,
                               std::function<void()> onClosed) {
    auto* box = makeBox(parent, QMessageBox::Warning, failureText(failure));
    QObject::connect(box, &QMessageBox::finished, box, [onClosed = std::move(onClosed)] {
        if (onClosed) onClosed();
    });
    box->show();
}

}  // namespace cubrix
