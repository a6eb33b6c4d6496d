#include "platform/qt/failure_road.h"

#include <QCoreApplication>
#include <exception>
#include <new>

#include "bill/failure.h"
#include "platform/qt/failure_texts.h"
#include "platform/qt/message_box.h"

namespace cubrix {

void runHandler(QWidget* parent, const std::function<void()>& handler) {
    Failure failure;
    try {
        handler();
        return;
    } catch (const std::bad_alloc&) {
        failure = {kOutOfMemoryNumber, kOutOfMemoryText};
    } catch (const std::exception& e) {
        failure = {kUnexpectedNumber,
                   std::string(kUnexpectedText) + "\n" + kTechnicalDetail + e.what()};
    } catch (...) {
        failure = {kUnexpectedNumber, kUnexpectedText};
    }
    showFailure(parent, failure);
    QCoreApplication::exit(1);
}

}  // namespace cubrix
