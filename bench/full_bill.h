// An eight-line bill keyed in, for the benchmarks.
#pragma once

#include <string>

#include "bill/bill_sheet.h"

namespace cubrix::bench {

inline void keyFullBill(BillSheet& sheet) {
    for (int i = 0; i < kLineRows; ++i) {
        sheet.set(Field::Text1, i, u"4.2");
        sheet.set(Field::Text2, i, u"150");
        sheet.set(Field::Text3, i, u"25");
        sheet.set(Field::Text4, i, std::u16string(1, static_cast<char16_t>(u'1' + i)));
        sheet.set(Field::Text6, i, u"1250.5");
    }
}

}  // namespace cubrix::bench
