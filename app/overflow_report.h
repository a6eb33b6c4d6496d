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
        // A failure that begins while the message is open counts as told.
        const bool show = !reported_ && !open_;
        reported_ = true;
        open_ = open_ || show;
        return show;
    }
    void messageClosed() { open_ = false; }

private:
    bool reported_ = false;
    bool open_ = false;
};

}  // namespace cubrix
