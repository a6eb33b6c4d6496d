#include "tools/sheet-probe/probe_case.h"

#include <fstream>
#include <stdexcept>

#include "bill/utf8.h"

namespace cubrix::probe {

std::optional<std::string> unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        switch (s[i]) {
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

std::string escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::vector<CaseField> readCase(const std::string& file) {
    const std::string path = std::string(CUBRIX_PROBE_CASES) + "/" + file;
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<CaseField> fields;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto tab = line.find('\t');
        const auto field =
            tab == std::string::npos ? std::nullopt : parseFieldName(line.substr(0, tab));
        const auto text = field ? unescape(std::string_view(line).substr(tab + 1)) : std::nullopt;
        if (!text) throw std::runtime_error(path + ": bad line: " + line);
        fields.push_back({*field, fromUtf8(*text)});
    }
    return fields;
}

std::u16string textOf(const std::vector<CaseField>& fields, FieldRef field) {
    for (const CaseField& f : fields)
        if (f.field == field) return f.text;
    return {};
}

}  // namespace cubrix::probe
