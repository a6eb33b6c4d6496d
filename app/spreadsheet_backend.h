// The spreadsheet application of this platform.
#pragma once

#include <memory>

#include "export/spreadsheet.h"

namespace cubrix {

std::unique_ptr<Spreadsheet> makeSpreadsheet();

}  // namespace cubrix
