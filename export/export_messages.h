// Every text the export puts in front of the operator: the reminder before
// it, and the failures of an export that failed or was refused. Their numbers
// are in bill/failure.h with all the program's own failure numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/spreadsheet.h"

namespace cubrix {

// Shown before every export: the workbook must not be open elsewhere.
inline constexpr std::u16string_view kPrintReminder = u"每次打印前请先关闭*Tarnel账单*";

// `tried`: the applications that could not be started, in the order tried.
std::string exportFailureText(SpreadsheetError kind, const std::string& workbookPath,
                              const std::string& detail,
                              const std::vector<std::string>& tried = {});
std::string counterLimitText();

// `text` is the field's text; the message quotes its beginning so that the
// operator finds it.
std::string textTooLongText(std::u16string_view text, std::size_t limit);

// A bill with a figure that cannot be computed, refused by the export and by
// the printout alike: `row` is the bill line that cannot, -1 for a total.
std::string uncomputedBillText(int row);

}  // namespace cubrix
