#include "platform/libreoffice/running_offices.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/libreoffice/file_url.h"

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
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
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

bool officeUsesProfile(const std::string& profileFolder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const auto pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const auto args = splitNul(readAll(entry.path() / "cmdline"));
        if (args.empty() || !isOfficeProgram(args[0])) continue;
        const auto environ = splitNul(readAll(entry.path() / "environ"));
        const auto profile = profileOfOffice(args, environValue(environ, "HOME"),
                                             environValue(environ, "XDG_CONFIG_HOME"));
        if (profile.empty() || sameFolder(profile, profileFolder)) return true;
    }
    return false;
}

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace cubrix::lo
