// The timer's pass, left out while the sheet rests: once a pass has left every
// text as it found it, and nothing has been set since, the next pass would
// only repeat the same writes (a zero result written, then blanked) and land
// on the same texts. An idle window then costs next to nothing per tick.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "bill/bill_sheet.h"
#include "bill/failure.h"

namespace cubrix {

class SettledPass {
public:
    // Runs Timer1_Timer unless the sheet rests; the result is the pass's, and
    // a pass left out succeeded before.
    std::optional<Failure> run(BillSheet& sheet);

    // Whether the last run left the pass out.
    bool leftOut() const { return leftOut_; }

private:
    std::array<std::u16string, kFieldCount> before_;
    // The sheet's change count after the last pass that changed nothing.
    std::optional<std::uint64_t> restingAt_;
    bool leftOut_ = false;
};

}  // namespace cubrix
