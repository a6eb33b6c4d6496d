// The clear button: empties every line field, the two upper party values and
// the totals for the next bill; the lower party values, the measurer and the
// captions stay.
#pragma once

#include "bill/bill_sheet.h"

namespace cubrix {

void Command1_Click(BillSheet& sheet);

}  // namespace cubrix
