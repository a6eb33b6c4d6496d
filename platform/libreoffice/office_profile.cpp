#include "platform/libreoffice/office_profile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/libreoffice/file_url.h"

namespace cubrix::lo {
namespace {

constexpr const char* kSharedName = "office-profile";

}  // namespace

std::string defaultCacheRoot() {
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
        return std::string(xdg) + "/cubrix";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.cache/cubrix";
    return std::filesystem::temp_directory_path().string() + "/cubrix-" + std::to_string(getuid());
}

OfficeProfile::OfficeProfile(std::string root)
    : root_(root.empty() ? defaultCacheRoot() : std::move(root)) {}

OfficeProfile::~OfficeProfile() {
    release();
}

bool OfficeProfile::acquire() {
    std::error_code ec;
    std::filesystem::create_directories(root_, ec);
    const std::string shared = root_ + "/" + kSharedName;
    lockFd_ = open((shared + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ >= 0 && flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        folder_ = shared;
        throwAway_ = false;
    } else {
        if (lockFd_ >= 0) close(lockFd_);
        lockFd_ = -1;
        folder_ = shared + "-" + std::to_string(getpid());
        throwAway_ = true;
        std::filesystem::remove_all(folder_, ec);  // left by a dead process of the same pid
    }
    std::filesystem::create_directories(folder_, ec);
    return std::filesystem::is_directory(folder_, ec);
}

void OfficeProfile::release() {
    if (folder_.empty()) return;
    if (throwAway_) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    if (lockFd_ >= 0) close(lockFd_);  // closing drops the flock
    lockFd_ = -1;
    folder_.clear();
}

std::string OfficeProfile::url() const {
    return fileUrl(folder_);
}

}  // namespace cubrix::lo
