// The recalculation pass run on every tick of the 10 ms timer: line volumes,
// line amounts, total volume and total amount, each written back as text.
#pragma once

#include <optional>

#include "bill/bill_sheet.h"
#include "bill/failure.h"

namespace cubrix {

inline constexpr double kVolumeDivisor = 1000000.0;  // m x mm x mm -> m³

// One whole pass over the sheet. On an overflow the pass stops at once: what
// it set before stays, nothing after it is written, and the failure is
// returned (the caller decides what the operator sees).
std::optional<Failure> Timer1_Timer(BillSheet& sheet);

}  // namespace cubrix
