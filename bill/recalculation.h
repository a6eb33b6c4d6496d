// The recalculation pass run on every tick of the 10 ms timer: line volumes,
// line amounts, total volume and total amount, each written back as text.
#pragma once

#include <optional>

#include "bill/bill_sheet.h"
#include "bill/failure.h"

namespace cubrix {

inline constexpr double kVolumeDivisor = 1000000.0;  // m x mm x mm -> m³

// One whole pass over the sheet. A line whose volume or amount overflows has
// both cleared, and so have the totals while any line does; every other line
// is brought up to date. The first such failure is returned (the caller
// decides what the operator sees).
std::optional<Failure> Timer1_Timer(BillSheet& sheet);

// What a pass over the sheet's texts would fail with, worked out on a copy:
// the sheet itself is not touched. Lets a route out of the window refuse a
// bill whose figures cannot be computed, whatever the timer did last.
std::optional<Failure> passFailure(const BillSheet& sheet);

}  // namespace cubrix
