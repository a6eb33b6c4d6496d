// An automation object that behaves like Excel's object model as far as the
// backend uses it and writes every call into a shared log, e.g.
//   Excel.Workbooks            property get
//   Workbooks.Open("C:\x.xls") method call (or get) with arguments
//   Range.Value="'abc"         property put (DISPID_PROPERTYPUT)
// Every get or call returns a new object named for what Excel would return,
// except the values set in `Automation::values`. Numbers show as r8:4.2 and
// i4:3, texts quoted.
#pragma once

#include <oaidl.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/excel/com_ptr.h"
#include "platform/excel/office_process.h"

namespace cubrix::testing {

// Process ids as the recorder's processes give them: a window's number is
// the id of its process.
inline constexpr int kOperatorsProcess = 3;  // ran before any instance was asked for
inline constexpr int kNewProcess = 7;

struct Automation {
    struct Fault {
        HRESULT hr;
        bool asException = false;  // DISP_E_EXCEPTION with the code in EXCEPINFO::scode
        int times = -1;            // calls that fail before the member works; -1: every one
    };
    std::vector<std::string> log;
    std::map<std::string, Fault> faults;  // by member name
    // Member name -> what a get returns: by default a new, hidden, empty
    // instance with its alerts on in a new process, and a workbook that
    // opens writable.
    std::map<std::string, std::variant<bool, int>> values = {
        {"ReadOnly", false},     {"Visible", false},    {"Count", 0},
        {"DisplayAlerts", true}, {"Hwnd", kNewProcess}, {"AutomationSecurity", 1}};
    int alive = 0;  // objects not yet released
    // The processes that ran before an instance was asked for; none known.
    std::optional<std::vector<DWORD>> before = std::vector<DWORD>{kOperatorsProcess};
    bool lingers = false;  // a process stays after Quit until it is ended
    // What the test holds (open files) while the backend runs.
    std::vector<std::shared_ptr<void>> held;

    // A new root object ("Excel"), as CoCreateInstance would give.
    com::ComPtr<IDispatch> application();
    // The processes as the backend sees them; awaiting and ending one is
    // logged as "awaited process 7", "ended process 7".
    ProcessTable processes();
    int count(const std::string& prefix) const;
};

// Replaces the file at `pathUtf8` with `bytes` (write bits given back first).
void writeFile(const std::string& pathUtf8, const std::string& bytes);

// Holds the file open for writing, sharing only reading, as an office holds
// the workbook it edits; closed when the result goes.
std::shared_ptr<void> holdForWriting(const std::string& pathUtf8);

// A workbook file named `name` (UTF-8) in a temp folder of this process's
// own, since tests run side by side, holding an .xls's first bytes; its path.
std::string ownWorkbook(const std::string& name);

}  // namespace cubrix::testing
