#include "export/workbook_file.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace cubrix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCompoundFile = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kZip = "PK\x03\x04";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kLookedAt = 512;

// A save writes the whole file again beside the old one before the old one
// goes, and the office's own temporary files besides.
constexpr std::uintmax_t kSaveOverhead = 1024 * 1024;

fs::path toPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// XML (SpreadsheetML, flat ODF) and HTML saved as .xls start with '<' after
// an optional byte-order mark and blanks.
bool markup(std::string_view bytes) {
    if (startsWith(bytes, kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    const auto first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

}  // namespace

WorkbookContent inspectWorkbook(const std::string& pathUtf8) {
    const fs::path path = toPath(pathUtf8);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return WorkbookContent::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return WorkbookContent::Unreadable;
    std::array<char, kLookedAt> buffer{};
    in.read(buffer.data(), buffer.size());
    const std::string_view bytes(buffer.data(), static_cast<std::size_t>(in.gcount()));
    if (bytes.empty()) return in.bad() ? WorkbookContent::Unreadable : WorkbookContent::Empty;
    if (startsWith(bytes, kCompoundFile) || startsWith(bytes, kZip) || markup(bytes))
        return WorkbookContent::LooksLikeOne;
    return WorkbookContent::NotAWorkbook;
}

bool roomToSave(const std::string& pathUtf8) {
    const fs::path path = toPath(pathUtf8);
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    const std::uintmax_t needed = (error ? 0 : size) + kSaveOverhead;
    const fs::space_info space = fs::space(fs::absolute(path, error).parent_path(), error);
    return error || space.available >= needed;  // unknown: no claim of a full disk
}

}  // namespace cubrix
