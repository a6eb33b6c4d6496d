// The export button: writes the bill into the bill workbook, saves it, and
// opens it in a visible spreadsheet window for the operator to print.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "bill/bill_sheet.h"
#include "bill/failure.h"
#include "export/export_messages.h"
#include "export/spreadsheet.h"

namespace cubrix {

// Passes through the export in this run; it only grows and stops at 32767.
using ExportCounter = std::int16_t;

// The spreadsheet application an export drives and the workbook it writes.
struct ExportTarget {
    Spreadsheet& spreadsheet;
    std::string workbookPath;  // UTF-8
};

struct ExportEnvironment {
    ExportTarget target;
    // Shows the print reminder and returns once the operator dismissed it.
    std::function<void()> showReminder;
};

// One click. A first failure restarts the whole export once; when the repeat
// fails too, the returned failure tells the operator what to do. The bill is
// only read, and every application object is released on every road.
std::optional<Failure> Command4_Click(const BillSheet& sheet, ExportCounter& counter,
                                      const ExportEnvironment& env);

}  // namespace cubrix
