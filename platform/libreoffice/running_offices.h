// Which offices run on this machine, and whether one of them has a document
// open: a document lock that no running office stands behind was left by a
// crash, and only holds the operator up.
#pragma once

#include <string>
#include <vector>

namespace cubrix::lo {

// The profile folder an office started with `args` uses: its
// -env:UserInstallation, else the default under the user's config folder.
// Empty when neither can be told.
std::string profileOfOffice(const std::vector<std::string>& args, const std::string& home,
                            const std::string& xdgConfigHome);

// Whether any running office uses `profileFolder`, or might: an office whose
// profile cannot be told counts as using it.
bool officeUsesProfile(const std::string& profileFolder);

// Whether a running office may have `path` open: one holds the file among
// its open files (Calc keeps a document it shows open), or one runs on
// `profileFolder` and its open files cannot be looked at. An office that
// merely runs on that profile, such as the one the print starts to show the
// bill in, does not hold a document it has not opened.
bool officeMayHoldFile(const std::string& path, const std::string& profileFolder);

// This machine's name, as offices write it into their locks.
std::string hostName();

}  // namespace cubrix::lo
