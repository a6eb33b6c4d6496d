// Where the office is installed, as the build found it: the office program,
// the UNO runtime's bootstrap file and the libraries we link against all lie
// in its program folder.
#pragma once

namespace cubrix::lo {

inline constexpr char kOfficeProgramDir[] = CUBRIX_OFFICE_PROGRAM_DIR;

}  // namespace cubrix::lo
