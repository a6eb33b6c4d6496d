// What the bill workbook's file itself says when an office fails on it: a
// look at its first bytes and at the room left beside it, both cheap, so that
// the operator is told what to mend rather than what the office said.
#pragma once

#include <cstdint>
#include <string>

namespace cubrix {

enum class WorkbookContent {
    Empty,         // 0 bytes
    NotAWorkbook,  // none of the signatures a spreadsheet file starts with
    LooksLikeOne,  // a compound file (.xls), a zip (.xlsx, .ods) or XML/HTML
    Unreadable,    // missing, a folder, or not readable
};

// Decided from the content alone, never from the name.
WorkbookContent inspectWorkbook(const std::string& pathUtf8);

// False when the volume holding the workbook has too little room left to
// write it once more, as a save does (a quota counts where the system
// reports it as the caller's free space).
bool roomToSave(const std::string& pathUtf8);

}  // namespace cubrix
