#include "platform/libreoffice/file_url.h"

#include <filesystem>

namespace cubrix::lo {
namespace {

constexpr std::string_view kScheme = "file://";

bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string fileUrl(std::string_view path) {
    const std::string absolute = std::filesystem::absolute(std::string(path)).lexically_normal();
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url(kScheme);
    for (unsigned char c : absolute) {
        if (keptAsIs(c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

std::string pathOfFileUrl(std::string_view url) {
    if (url.substr(0, kScheme.size()) != kScheme) return {};
    url.remove_prefix(kScheme.size());
    if (url.empty() || url[0] != '/') return {};  // a host part: not a local file
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size() && hexValue(url[i + 1]) >= 0 &&
            hexValue(url[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(url[i + 1]) * 16 + hexValue(url[i + 2]));
            i += 2;
        } else {
            path += url[i];
        }
    }
    return path;
}

bool sameFolder(const std::string& a, const std::string& b) {
    const auto folder = [](const std::string& path) {
        auto p = std::filesystem::path(path).lexically_normal();
        if (!p.has_filename() && p.has_parent_path()) p = p.parent_path();
        return p;
    };
    return !a.empty() && !b.empty() && folder(a) == folder(b);
}

}  // namespace cubrix::lo
