// Which office profiles are in use by a running office on this machine: a
// document lock written by an office whose profile no office uses any more
// was left by a crash, and only holds the operator up.
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

// This machine's name, as offices write it into their locks.
std::string hostName();

}  // namespace cubrix::lo
