// A file of a process under /proc, read whole. The process may end between
// the open and the read, which then fails with ESRCH: a file stream would
// throw out of its read, from code that must not throw (the ends of offices
// in destructors), so this reads with plain calls and returns what it got.
#pragma once

#include <string>

namespace cubrix::lo {

// Empty when the file cannot be read.
std::string readProcFile(const std::string& path);

}  // namespace cubrix::lo
