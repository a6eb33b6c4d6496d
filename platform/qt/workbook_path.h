// Where the bill workbook lives: "d:\Tarnel账单.xls" on Windows; elsewhere the
// same file name in the user's documents folder.
#pragma once

#include <QString>

namespace cubrix {

inline constexpr char16_t kWorkbookFileName[] = u"Tarnel账单.xls";

QString workbookPath();

}  // namespace cubrix
