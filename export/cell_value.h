// What a field's text becomes in its cell. A bill number that reads wholly as
// a plain decimal goes in as a number, so the sheet can add and format it;
// everything else, and every party text (telephone and account numbers lose
// digits as numbers), goes in as literal text and is never evaluated.
#pragma once

#include <string_view>

#include "export/spreadsheet.h"

namespace cubrix {

CellValue cellValueFor(std::u16string_view text, bool numeric);

}  // namespace cubrix
