// The office's document lock file, ".~lock.<name>#" beside the workbook. Its
// last field is the profile URL of the office that wrote it: a lock naming
// our private profile can only be left over from one of our offices that was
// killed (the profile is held while ours runs), so it may be removed. Any
// other lock belongs to somebody else and is left alone.
#pragma once

#include <functional>
#include <string>

namespace cubrix::lo {

std::string lockFilePath(const std::string& workbookPath);

// The fields of a lock file's text: "name,user,host,date,profile-url;".
struct LockOwner {
    std::string name, user, host, date, profileUrl;
};
bool parseLockFile(const std::string& text, LockOwner& owner);

// Removes the workbook's lock file when it names `profileFolder`; returns
// whether it did.
bool removeLockOf(const std::string& workbookPath, const std::string& profileFolder);

// Removes the workbook's lock file when an office on this machine (`host`)
// wrote it and `mayHold` says no running office may have the workbook open
// (it is asked with the lock's profile): a crash left it. Returns whether it
// did.
bool removeStaleLock(const std::string& workbookPath, const std::string& host,
                     const std::function<bool(const std::string& profileFolder)>& mayHold);

}  // namespace cubrix::lo
