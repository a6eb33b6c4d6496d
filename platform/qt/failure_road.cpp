#include "platform/qt/failure_road.h"

#include <QCoreApplication>
#include <exception>
#include <new>

#include "bill/failure.h"
#include "platform/qt/message_box.h"

namespace cubrix {
namespace {

// Numbers in the style of the run-time's own: out of memory, and any other.
constexpr int kOutOfMemoryNumber = 7;
constexpr int kUnexpectedNumber = 51;

}  // namespace

void runHandler(QWidget* parent, const std::function<void()>& handler) {
    Failure failure;
    try {
        handler();
        return;
    } catch (const std::bad_alloc&) {
        failure = {kOutOfMemoryNumber, "内存不足"};
    } catch (const std::exception& e) {
        failure = {kUnexpectedNumber, std::string("内部错误：") + e.what()};
    } catch (...) {
        failure = {kUnexpectedNumber, "内部错误"};
    }
    showFailure(parent, failure);
    QCoreApplication::exit(1);
}

}  // namespace cubrix
