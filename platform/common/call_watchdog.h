// Bounds the time of blocking calls into an office, for every backend. A call
// (UNO or COM) to an office that hangs never returns by itself; ending the
// office makes it fail at once, so the watchdog runs `onOverrun` (which ends
// the office) when a call is still running at its deadline.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace cubrix::common {

class CallWatchdog {
public:
    explicit CallWatchdog(std::function<void()> onOverrun);
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    // Armed for the lifetime of a Guard; guards do not nest.
    class Guard {
    public:
        Guard(CallWatchdog& dog, std::chrono::milliseconds limit);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        CallWatchdog& dog_;
    };

    // Whether a call overran since the last reset.
    bool fired() const;
    void reset();

private:
    void run();

    std::function<void()> onOverrun_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool armed_ = false;
    bool fired_ = false;
    bool stopping_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};

}  // namespace cubrix::common
