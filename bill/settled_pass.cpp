#include "bill/settled_pass.h"

#include "bill/recalculation.h"

namespace cubrix {

std::optional<Failure> SettledPass::run(BillSheet& sheet) {
    leftOut_ = restingAt_ == sheet.changes();
    if (leftOut_) return std::nullopt;

    // The copies keep their buffers from tick to tick: no allocation once warm.
    for (int slot = 0; slot < kFieldCount; ++slot) before_[slot] = sheet.text(fieldAt(slot));
    auto failure = Timer1_Timer(sheet);

    bool unchanged = !failure.has_value();
    for (int slot = 0; slot < kFieldCount && unchanged; ++slot)
        unchanged = before_[slot] == sheet.text(fieldAt(slot));
    // A failing pass runs on every tick: the window reports it until mended.
    restingAt_ = unchanged ? std::optional(sheet.changes()) : std::nullopt;
    return failure;
}

}  // namespace cubrix
