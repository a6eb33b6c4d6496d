// The worked example of the printed bill: four lines (the last without a
// price), a buyer and a measurer; totals 0.6610 and 765.8200.
#pragma once

#include "bill/bill_sheet.h"
#include "bill/recalculation.h"
#include "bill/zero_blanking.h"

namespace cubrix::testing {

// Keys the example into a fresh sheet and runs one pass over it.
inline void keyWorkedExample(BillSheet& sheet) {
    connectZeroBlanking(sheet);
    const char16_t* lines[][5] = {{u"4.2", u"150", u"25", u"1", u"1000"},
                                  {u"6", u"200", u"50", u"10", u"1250"},
                                  {u"1.5", u"100", u"1", u"1", u"99.9"},
                                  {u"4", u"150", u"25", u"3", u""}};
    const Field columns[] = {Field::Text1, Field::Text2, Field::Text3, Field::Text4, Field::Text6};
    for (int row = 0; row < 4; ++row)
        for (int c = 0; c < 5; ++c) sheet.set(columns[c], row, lines[row][c]);
    sheet.set(Field::Text10, 0, u"建阳区鑫源木业有限公司");
    sheet.set(Field::Text14, 0, u"王师傅");
    Timer1_Timer(sheet);
}

}  // namespace cubrix::testing
