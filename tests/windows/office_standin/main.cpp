// The stand-in office's process: registers itself under a ProgID (per user,
// or for the machine with --machine), or, started by COM, serves one
// application object as a single-use local server, as Excel does: each new
// object is a new process. Started by hand with --shared it is the
// operator's running office instead, serving every caller from one process.
// /hold keeps a file open for writing, as another program editing it.
//   office_standin /regserver PROGID [--machine] [SWITCHES]
//   office_standin /unregserver PROGID [--machine]
//   office_standin --progid PROGID --shared [SWITCHES]
//   office_standin /hold FILE [--log FILE]
// SWITCHES (see switches.h) are registered into the server's command line.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "objects.h"
#include "switches.h"

namespace standin {
namespace {

constexpr UINT kRevoke = WM_APP + 1;
// A while after it was shown, the window says whether it is in front.
constexpr UINT_PTR kForegroundTimer = 1;
constexpr UINT kForegroundCheckMs = 1500;
// A server started by COM that is handed no object ends after this long.
constexpr UINT kIdleMs = 60000;
constexpr const wchar_t* kWindowClass = L"OfficeStandin";

// One class per ProgID, so that several can be registered side by side.
CLSID classFor(const std::wstring& progId) {
    CLSID id = {0x6a7c1e52, 0x3b0d, 0x4c8e, {0x9f, 0x21, 0x5d, 0x7a, 0, 0, 0, 0}};
    unsigned hash = 2166136261u;
    for (wchar_t c : progId) hash = (hash ^ static_cast<unsigned>(towlower(c))) * 16777619u;
    for (int i = 0; i < 4; ++i) id.Data4[4 + i] = static_cast<unsigned char>(hash >> (8 * i));
    return id;
}

std::wstring classText(const CLSID& id) {
    wchar_t text[40];
    StringFromGUID2(id, text, 40);
    return text;
}

bool setValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY k;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr))
        return false;
    const LONG r = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

int registration(bool add, const std::vector<std::wstring>& args) {
    if (args.size() < 2) return 2;
    const std::wstring progId = args[1];
    std::vector<std::wstring> rest(args.begin() + 2, args.end());
    HKEY root = HKEY_CURRENT_USER;
    std::wstring classes = L"Software\\Classes\\";
    std::erase_if(rest, [&](const std::wstring& a) {
        if (a != L"--machine") return false;
        root = HKEY_LOCAL_MACHINE;
        return true;
    });
    const std::wstring clsidKey = classes + L"CLSID\\" + classText(classFor(progId));
    if (!add) {
        RegDeleteTreeW(root, (classes + progId).c_str());
        RegDeleteTreeW(root, clsidKey.c_str());
        return 0;
    }
    parseSwitches(rest);  // refuses a mistyped switch now, not in the server
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --progid " + progId;
    for (const std::wstring& a : rest)
        command += a.find(L' ') == std::wstring::npos ? L" " + a : L" \"" + a + L"\"";
    const bool ok =
        setValue(root, classes + progId, nullptr, L"Office stand-in") &&
        setValue(root, classes + progId + L"\\CLSID", nullptr, classText(classFor(progId))) &&
        setValue(root, clsidKey, nullptr, L"Office stand-in " + progId) &&
        setValue(root, clsidKey + L"\\LocalServer32", nullptr, command) &&
        setValue(root, clsidKey + L"\\ProgID", nullptr, progId);
    return ok ? 0 : 1;
}

class Server : public Host, public IClassFactory, public IMessageFilter {
public:
    void objectsChanged(int live) override {
        live_ = live;
        if (live == 0) lastReferenceGone();
    }
    void show(bool visible, const wchar_t* title) override {
        log(std::string("visible ") + (visible ? "true" : "false"));
        if (visible) {
            const std::wstring caption =
                std::wstring(*title ? title : L"(no workbook)") + L" - Office stand-in";
            SetWindowTextW(window_, caption.c_str());
        }
        shown_ = visible;
        // Not activated: a process in the background may not take the
        // foreground; the program that shows it has to bring it there.
        ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
        if (visible) SetTimer(window_, kForegroundTimer, kForegroundCheckMs, nullptr);
        if (!visible && live_ == 0) PostQuitMessage(0);
    }
    void quitAsked() override {
        quit_ = true;
        shown_ = false;
        ShowWindow(window_, SW_HIDE);
        if (current().shared && operatorsWorkbookIntact())
            log("Quit with the operator's unsaved workbook open");
        PostMessageW(nullptr, kRevoke, 0, 0);
    }
    void userControl(bool on) override { userControl_ = on; }
    HWND mainWindow() override { return window_; }

    // IClassFactory and IMessageFilter: static, so no reference counting.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory)
            *out = static_cast<IClassFactory*>(this);
        else if (iid == IID_IMessageFilter)
            *out = static_cast<IMessageFilter*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        const bool shared = current().shared;
        if (created_ && !shared) return CO_E_SERVER_STOPPING;  // single use
        created_ = true;
        if (!shared) PostMessageW(nullptr, kRevoke, 0, 0);
        IDispatch* app = newApplication(*this);
        const HRESULT hr = app->QueryInterface(iid, out);
        app->Release();
        log("application created");
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    // Busy at start, as an office still loading: its object model's calls
    // are refused, activation and reference counting are not.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) override {
        const bool dispatch = info && info->iid == IID_IDispatch;
        if (dispatch && GetTickCount64() - started_ < current().busyMs) {
            if (refused_++ == 0) log("busy: refusing calls");
            return current().busyAnswer;
        }
        if (refused_ > 0) {
            log("busy no more after " + std::to_string(refused_) + " refusals");
            refused_ = 0;
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return ~0u; }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

    int run() {
        const Switches& s = current();
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
        window_ =
            CreateWindowExW(0, kWindowClass, L"Office stand-in", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 420, 160, nullptr, nullptr, wc.hInstance, nullptr);
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
        IMessageFilter* previous = nullptr;
        CoRegisterMessageFilter(this, &previous);
        const HRESULT hr = CoRegisterClassObject(
            classFor(s.progId), static_cast<IClassFactory*>(this), CLSCTX_LOCAL_SERVER,
            s.shared ? REGCLS_MULTIPLEUSE : REGCLS_SINGLEUSE, &cookie_);
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
        log("start " + utf8(s.progId) + " CoRegisterClassObject " + code);
        if (FAILED(hr)) return 1;
        if (s.shared) openOperatorsWorkbook();
        SetTimer(nullptr, 0, kIdleMs, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kRevoke) {
                revoke();
                continue;
            }
            if (msg.message == WM_TIMER && msg.hwnd == nullptr && !created_ && !s.shared) break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        revoke();
        log(std::string("end") + (quit_ ? " after Quit" : "") +
            (live_ > 0 ? ", " + std::to_string(live_) + " objects still referenced" : ""));
        if (s.shared) {
            log(operatorsWorkbookIntact() ? "the operator's workbook intact at the end"
                                          : "the operator's workbook lost");
            log("AutomationSecurity " + std::to_string(macroSecurity()) + " at the end");
        }
        CoUninitialize();
        return 0;
    }

    static Server& instance() {
        static Server server;
        return server;
    }

private:
    // Excel ends with its last reference unless the operator has it: shown
    // (lenient), or UserControl set (strict). The operator's office runs on.
    void lastReferenceGone() {
        const Switches& s = current();
        if (quit_ && s.lingerAfterQuit) {
            log("lingers after Quit");
            return;
        }
        if (quit_) {
            PostQuitMessage(0);
            return;
        }
        if (s.shared) return;
        if (!shown_) {
            PostQuitMessage(0);
            return;
        }
        if (s.strictLifetime && !userControl_) {
            log("last reference gone without UserControl: ends");
            PostQuitMessage(0);
        }
    }
    void revoke() {
        if (cookie_) CoRevokeClassObject(cookie_);
        cookie_ = 0;
    }
    static LRESULT CALLBACK windowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        Server& self = instance();
        if (m == WM_TIMER && wp == kForegroundTimer) {
            KillTimer(w, kForegroundTimer);
            log(std::string("foreground: ") +
                (GetForegroundWindow() == w ? "its window" : "another window"));
            return 0;
        }
        if (m == WM_CLOSE && w == self.window_) {
            log("window closed");
            PostQuitMessage(0);  // the operator closed the office
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    }

    ULONGLONG started_ = GetTickCount64();
    DWORD cookie_ = 0;
    bool created_ = false;
    bool quit_ = false;
    int live_ = 0;
    unsigned refused_ = 0;
    HWND window_ = nullptr;
    bool shown_ = false;
    bool userControl_ = false;
};

// Holds `path` open for writing, sharing only reading, until ended.
int hold(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        log("cannot hold " + utf8(path));
        return 1;
    }
    log("holds " + utf8(path) + " for writing");
    Sleep(INFINITE);
    return 0;
}

}  // namespace
}  // namespace standin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace standin;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);
    try {
        if (!args.empty() && (args[0] == L"/regserver" || args[0] == L"/unregserver"))
            return registration(args[0] == L"/regserver", args);
        if (args.size() >= 2 && args[0] == L"/hold") {
            current() = parseSwitches({args.begin() + 2, args.end()});
            return hold(args[1]);
        }
        current() = parseSwitches(args);
    } catch (const std::exception&) {
        return 2;
    }
    if (current().logPath.empty()) {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        current().logPath = std::wstring(exe) + L".log";
    }
    return Server::instance().run();
}
