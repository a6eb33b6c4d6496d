#include "entry/clear_bill.h"

namespace cubrix {

void Command1_Click(BillSheet& sheet) {
    for (int column = 0; column < kLineColumns; ++column)
        for (int i = 0; i < kLineRows; ++i) sheet.set(static_cast<Field>(column), i, u"");
    for (const Field f : {Field::Text10, Field::Text11, Field::Text8, Field::Text9})
        sheet.set(f, 0, u"");
}

}  // namespace cubrix
