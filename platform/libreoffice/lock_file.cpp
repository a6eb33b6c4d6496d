#include "platform/libreoffice/lock_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/libreoffice/file_url.h"

namespace cubrix::lo {
std::string lockFilePath(const std::string& workbookPath) {
    const std::filesystem::path p(workbookPath);
    return (p.parent_path() / (".~lock." + p.filename().string() + "#")).string();
}

bool parseLockFile(const std::string& text, LockOwner& owner) {
    // Fields are separated by ',' and end with ';'; '\' escapes either.
    std::vector<std::string> fields(1);
    bool ended = false;
    for (std::size_t i = 0; i < text.size() && !ended; ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            fields.back() += text[++i];
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == ';') {
            ended = true;
        } else {
            fields.back() += c;
        }
    }
    if (!ended || fields.size() < 5) return false;
    owner = {fields[0], fields[1], fields[2], fields[3], fields[4]};
    return true;
}

namespace {

bool readLock(const std::string& lock, LockOwner& owner) {
    std::ifstream in(lock, std::ios::binary);
    if (!in) return false;
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    return parseLockFile(text, owner);
}

}  // namespace

bool removeLockOf(const std::string& workbookPath, const std::string& profileFolder) {
    const std::string lock = lockFilePath(workbookPath);
    LockOwner owner;
    if (!readLock(lock, owner)) return false;
    if (!sameFolder(pathOfFileUrl(owner.profileUrl), profileFolder)) return false;
    std::error_code ec;
    return std::filesystem::remove(lock, ec);
}

}  // namespace cubrix::lo

namespace cubrix::lo {

bool removeStaleLock(const std::string& workbookPath, const std::string& host,
                     const std::function<bool(const std::string& profileFolder)>& mayHold) {
    const std::string lock = lockFilePath(workbookPath);
    LockOwner owner;
    if (!readLock(lock, owner) || host.empty() || owner.host != host) return false;
    const std::string profile = pathOfFileUrl(owner.profileUrl);
    if (profile.empty() || mayHold(profile)) return false;
    std::error_code ec;
    return std::filesystem::remove(lock, ec);
}

}  // namespace cubrix::lo
