// The private user profile of the hidden office. It stays in the user's cache
// folder between exports, because a new profile costs about half a second of
// every start. One office at a time may use a profile: the shared one is held
// with a file lock, and a process that finds it taken (another Cubrix
// exporting at the same moment) uses one of its own, removed afterwards.
#pragma once

#include <string>

namespace cubrix::lo {

class OfficeProfile {
public:
    // `root` empty: $XDG_CACHE_HOME/cubrix, else ~/.cache/cubrix.
    explicit OfficeProfile(std::string root);
    ~OfficeProfile();
    OfficeProfile(const OfficeProfile&) = delete;
    OfficeProfile& operator=(const OfficeProfile&) = delete;

    // Takes a profile folder; false when no folder can be made.
    bool acquire();
    // Lets it go; a throw-away profile is deleted. The office must be gone.
    void release();

    const std::string& folder() const { return folder_; }
    std::string url() const;  // file:// URL for -env:UserInstallation

private:
    std::string root_;
    std::string folder_;
    int lockFd_ = -1;
    bool throwAway_ = false;
};

// The per-user cache folder for Cubrix.
std::string defaultCacheRoot();

}  // namespace cubrix::lo
