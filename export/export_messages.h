// The operator's texts for an export that failed twice.
#pragma once

#include <string>

#include "export/spreadsheet.h"

namespace cubrix {

// Number of a failure that is not the application's: the counter's limit.
inline constexpr int kCounterLimitNumber = 6;

std::string exportFailureText(SpreadsheetError kind, const std::string& workbookPath,
                              const std::string& detail);
std::string counterLimitText();

}  // namespace cubrix
