#include "platform/libreoffice/running_offices.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <optional>

#include "platform/libreoffice/file_url.h"
#include "platform/libreoffice/proc_file.h"

namespace cubrix::lo {
namespace {

constexpr char kInstallationArg[] = "-env:UserInstallation=";

std::vector<std::string> splitNul(const std::string& bytes) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : bytes) {
        if (c == '\0') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string readAll(const std::filesystem::path& file) {
    return readProcFile(file.string());
}

std::string environValue(const std::vector<std::string>& environ, const std::string& name) {
    for (const auto& entry : environ)
        if (entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
            entry[name.size()] == '=')
            return entry.substr(name.size() + 1);
    return {};
}

bool isOfficeProgram(const std::string& argv0) {
    const auto name = std::filesystem::path(argv0).filename().string();
    return name == "soffice.bin" || name == "oosplash";
}

}  // namespace

std::string profileOfOffice(const std::vector<std::string>& args, const std::string& home,
                            const std::string& xdgConfigHome) {
    for (const auto& arg : args)
        if (arg.rfind(kInstallationArg, 0) == 0)
            return pathOfFileUrl(arg.substr(sizeof kInstallationArg - 1));
    if (!xdgConfigHome.empty()) return xdgConfigHome + "/libreoffice/4";
    if (!home.empty()) return home + "/.config/libreoffice/4";
    return {};
}

namespace {

// Calls `visit` with each running office's /proc folder and its profile
// (empty when it cannot be told) until `visit` returns true.
template <typename Visit>
bool anyOffice(Visit&& visit) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const auto pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const auto args = splitNul(readAll(entry.path() / "cmdline"));
        if (args.empty() || !isOfficeProgram(args[0])) continue;
        const auto environ = splitNul(readAll(entry.path() / "environ"));
        const auto profile = profileOfOffice(args, environValue(environ, "HOME"),
                                             environValue(environ, "XDG_CONFIG_HOME"));
        if (visit(entry.path(), profile)) return true;
    }
    return false;
}

// Whether the process behind `procFolder` has the file `target` open;
// nothing when its open files cannot be read (another user's office).
std::optional<bool> holdsFile(const std::filesystem::path& procFolder, const struct stat& target) {
    std::error_code ec;
    std::filesystem::directory_iterator fds(procFolder / "fd", ec);
    if (ec) return std::nullopt;
    for (const auto& fd : fds) {
        struct stat st {};
        if (stat(fd.path().c_str(), &st) == 0 && st.st_dev == target.st_dev &&
            st.st_ino == target.st_ino)
            return true;
    }
    return false;
}

}  // namespace

bool officeUsesProfile(const std::string& profileFolder) {
    return anyOffice([&](const std::filesystem::path&, const std::string& profile) {
        return profile.empty() || sameFolder(profile, profileFolder);
    });
}

bool officeMayHoldFile(const std::string& path, const std::string& profileFolder) {
    struct stat target {};
    if (stat(path.c_str(), &target) != 0) return false;  // nothing to hold
    return anyOffice([&](const std::filesystem::path& proc, const std::string& profile) {
        const auto holds = holdsFile(proc, target);
        if (holds) return *holds;
        // Cannot be looked at: one on that profile may be the lock's writer.
        return profile.empty() || sameFolder(profile, profileFolder);
    });
}

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace cubrix::lo
