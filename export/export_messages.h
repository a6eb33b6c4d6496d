// The operator's texts for an export that failed twice.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/spreadsheet.h"

namespace cubrix {

// Number of a failure that is not the application's: the counter's limit.
inline constexpr int kCounterLimitNumber = 6;

// `tried`: the applications that could not be started, in the order tried.
std::string exportFailureText(SpreadsheetError kind, const std::string& workbookPath,
                              const std::string& detail,
                              const std::vector<std::string>& tried = {});
std::string counterLimitText();

// Number of a bill the workbook cannot take: a text longer than a cell holds.
inline constexpr int kTextTooLongNumber = 5;

// `text` is the field's text; the message quotes its beginning so that the
// operator finds it.
std::string textTooLongText(std::u16string_view text, std::size_t limit);

}  // namespace cubrix
