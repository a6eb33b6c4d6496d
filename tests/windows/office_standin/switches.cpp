#include "switches.h"

#include <cwctype>
#include <map>
#include <stdexcept>

namespace standin {

bool CallPoint::matches(int call, const std::wstring& name) const {
    if (ordinal > 0) return call == ordinal;
    return _wcsicmp(member.c_str(), name.c_str()) == 0;
}

namespace {

CallPoint callPoint(const std::wstring& text) {
    CallPoint point;
    if (!text.empty() && std::iswdigit(text[0]))
        point.ordinal = std::stoi(text);
    else
        point.member = text;
    return point;
}

}  // namespace

Switches parseSwitches(const std::vector<std::wstring>& args) {
    Switches s;
    const std::map<std::wstring, bool*> flags = {
        {L"--shared", &s.shared},
        {L"--strict-lifetime", &s.strictLifetime},
        {L"--lock-write", &s.lockWrite},
        {L"--modal-on-save", &s.modalOnSave},
        {L"--linger-after-quit", &s.lingerAfterQuit},
        {L"--hwnd-zero", &s.hwndZero},
        {L"--macros", &s.macros},
        {L"--no-automation-security", &s.noAutomationSecurity}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        auto value = [&]() -> const std::wstring& {
            if (i + 1 >= args.size()) throw std::invalid_argument("missing value");
            s.raw.push_back(a);
            s.raw.push_back(args[i + 1]);
            return args[++i];
        };
        if (a == L"--progid") {
            s.progId = value();
            s.raw.resize(s.raw.size() - 2);  // registered apart
        } else if (a == L"--log") {
            s.logPath = value();
        } else if (a == L"--busy" || a == L"--busy-rejected") {
            s.busyMs = static_cast<DWORD>(std::stod(value()) * 1000);
            s.busyAnswer = a == L"--busy" ? SERVERCALL_RETRYLATER : SERVERCALL_REJECTED;
        } else if (a == L"--die-at") {
            s.dieAt = callPoint(value());
        } else if (a == L"--hang-at") {
            s.hangAt = callPoint(value());
        } else if (a == L"--read-only") {
            s.readOnly = true;
            s.raw.push_back(a);
        } else if (flags.contains(a)) {
            *flags.at(a) = true;
            s.raw.push_back(a);
        } else if (a == L"--sheet") {
            s.sheet = value();
        } else if (a == L"--busy-at") {
            s.busyAt = std::stoi(value());
        } else if (a == L"--open-fails") {
            const std::wstring& v = value();
            const auto colon = v.find(L':');
            s.openFails = static_cast<HRESULT>(std::stoul(v.substr(0, colon), nullptr, 16));
            if (colon != std::wstring::npos) s.openFailsText = v.substr(colon + 1);
        } else if (_wcsicmp(a.c_str(), L"-Embedding") == 0 ||
                   _wcsicmp(a.c_str(), L"/Embedding") == 0) {
            // COM's mark of a server it started.
        } else {
            throw std::invalid_argument("unknown switch");
        }
    }
    return s;
}

Switches& current() {
    static Switches s;
    return s;
}

std::string utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void log(const std::string& line) {
    const std::wstring& path = current().logPath;
    if (path.empty()) return;
    // Appending opens let every process of the stand-in write the one file.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = "pid " + std::to_string(GetCurrentProcessId()) + " " + line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace standin
