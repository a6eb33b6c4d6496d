// The worked example of the printed bill: the probe's case, with a buyer and
// a measurer as a yard writes them; totals 0.6610 and 765.8200.
#pragma once

#include "bill/bill_sheet.h"
#include "bill/recalculation.h"
#include "bill/zero_blanking.h"
#include "tools/sheet-probe/probe_case.h"

namespace cubrix::testing {

// Keys the example into a fresh sheet and runs one pass over it.
inline void keyWorkedExample(BillSheet& sheet) {
    connectZeroBlanking(sheet);
    for (const auto& [field, text] : probe::readCase("worked_example.in")) sheet.set(field, text);
    sheet.set(Field::Text10, 0, u"建阳区鑫源木业有限公司");
    sheet.set(Field::Text14, 0, u"王师傅");
    Timer1_Timer(sheet);
}

}  // namespace cubrix::testing
