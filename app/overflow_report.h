// When the recalculation overflows, the operator hears of it once: not again
// while the failure repeats every tick or while the first message is open,
// and again only after a pass has succeeded in between.
#pragma once

namespace cubrix {

class OverflowReport {
public:
    // Returns whether this pass's failure is to be shown now.
    bool passFinished(bool failed) {
        if (!failed) {
            reported_ = false;
            return false;
        }
        if (reported_ || open_) return false;
        reported_ = open_ = true;
        return true;
    }
    void messageClosed() { open_ = false; }

private:
    bool reported_ = false;
    bool open_ = false;
};

}  // namespace cubrix
