#include "platform/common/call_watchdog.h"

namespace cubrix::common {

CallWatchdog::CallWatchdog(std::function<void()> onOverrun)
    : onOverrun_(std::move(onOverrun)), thread_([this] { run(); }) {}

CallWatchdog::~CallWatchdog() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

CallWatchdog::Guard::Guard(CallWatchdog& dog, std::chrono::milliseconds limit) : dog_(dog) {
    {
        std::lock_guard lock(dog_.mutex_);
        dog_.armed_ = true;
        dog_.deadline_ = std::chrono::steady_clock::now() + limit;
    }
    dog_.wake_.notify_all();
}

CallWatchdog::Guard::~Guard() {
    {
        std::lock_guard lock(dog_.mutex_);
        dog_.armed_ = false;
    }
    dog_.wake_.notify_all();
}

bool CallWatchdog::fired() const {
    std::lock_guard lock(mutex_);
    return fired_;
}

void CallWatchdog::reset() {
    std::lock_guard lock(mutex_);
    fired_ = false;
}

void CallWatchdog::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!armed_) {
            wake_.wait(lock);
            continue;
        }
        if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
            std::chrono::steady_clock::now() >= deadline_) {
            armed_ = false;
            fired_ = true;
            lock.unlock();
            onOverrun_();  // unlocked: the kill may take a moment
            lock.lock();
        }
    }
}

}  // namespace cubrix::common
