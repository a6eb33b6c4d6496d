// How the stand-in behaves, from its command line (the one registered as its
// server command), and its log: one line per process start and end and per
// call, appended by every process to one UTF-8 file.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace standin {

// Which call a misbehaviour strikes: the K-th call of the process (counted
// from 1), or the first call of a member name.
struct CallPoint {
    int ordinal = 0;
    std::wstring member;
    bool matches(int call, const std::wstring& name) const;
};

struct Switches {
    std::wstring progId;
    std::wstring logPath;
    DWORD busyMs = 0;  // incoming calls refused for so long from the start
    // How: SERVERCALL_RETRYLATER as Excel refuses, or SERVERCALL_REJECTED,
    // the one refusal that Wine passes on to the caller (it serves a call
    // answered "retry later" at once).
    DWORD busyAnswer = SERVERCALL_RETRYLATER;
    std::optional<CallPoint> dieAt;
    std::optional<CallPoint> hangAt;
    bool readOnly = false;
    std::optional<HRESULT> openFails;
    std::wstring openFailsText;  // EXCEPINFO's bstrDescription
    // The operator's office: one process, started by hand, serving every
    // caller, holding a workbook of the operator's with unsaved changes.
    bool shared = false;
    bool strictLifetime = false;  // shown or not, ends with its last reference unless UserControl
    std::wstring sheet;           // the workbook's only sheet; empty: any name is found
    bool lockWrite = false;       // Open fails on a file held for writing elsewhere
    std::optional<int> busyAt;    // the office's own refusal for a while from this call
    bool modalOnSave = false;     // Save waits on a dialog unless alerts or the check are off
    bool lingerAfterQuit = false;
    bool hwndZero = false;
    // The workbook has an opening macro, which runs at Open unless
    // AutomationSecurity is 3 (ForceDisable).
    bool macros = false;
    bool noAutomationSecurity = false;  // an office that does not know the property
    std::vector<std::wstring> raw;      // as given, to be registered again
};

// Parses "--progid P --log FILE --busy S --busy-rejected S --die-at K|NAME --hang-at K|NAME
// --read-only --open-fails HEX[:TEXT] --shared --strict-lifetime --sheet NAME --lock-write
// --busy-at K --modal-on-save --linger-after-quit --hwnd-zero --macros
// --no-automation-security"; throws std::invalid_argument.
Switches parseSwitches(const std::vector<std::wstring>& args);

Switches& current();

std::string utf8(const std::wstring& text);
void log(const std::string& line);  // prefixed with the process id

}  // namespace standin
