// Excel driven through COM late binding (IDispatch), as a script would drive
// it: no type library, so any Excel version that answers to the ProgID works,
// and so does WPS Spreadsheets, which publishes the same object model. Use
// one object from one thread; it joins that thread to COM while an instance
// is held.
#pragma once

#include <oaidl.h>
#include <objbase.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "export/spreadsheet.h"
#include "platform/common/call_watchdog.h"
#include "platform/excel/busy_retry.h"
#include "platform/excel/com_apartment.h"
#include "platform/excel/com_ptr.h"
#include "platform/excel/office_process.h"
#include "platform/excel/office_prog_ids.h"

namespace cubrix {

// Windows' ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers lack.
inline constexpr DWORD kDiskQuotaExceeded = 1295;

class ExcelSpreadsheet : public Spreadsheet {
public:
    // Returns a new application object of the class `progId`; throws
    // com::ComError when it cannot.
    using Launcher = std::function<com::ComPtr<IDispatch>(std::wstring_view progId)>;

    // A work instance comes from the first of `offices` that can be created;
    // the shown instance after it from the same one. By default each is a new
    // out-of-process server; any object with Excel's members will do (tests
    // hand in a recorder). A refused call is tried again for `refusalWait`.
    // An instance is ours to quit or end only when `processes` show that its
    // process started with it.
    explicit ExcelSpreadsheet(
        std::span<const Office> offices = kOfficeProgIds, Launcher launch = startServer,
        std::chrono::milliseconds refusalWait = std::chrono::milliseconds(com::kBusyWaitMs),
        ProcessTable processes = systemProcesses());
    ~ExcelSpreadsheet() override { release(); }

    void createInstance(InstanceUse use) override;
    void openWorkbook(const std::string& pathUtf8) override;
    void selectSheet(std::u16string_view name) override;
    void setCell(int row, int column, const CellValue& value) override;
    void save() override;
    void closeAll() override;
    void quit() override;
    void show() override;
    void release() noexcept override;

    static com::ComPtr<IDispatch> startServer(std::wstring_view progId);

private:
    template <class Step>
    void step(SpreadsheetError kind, Step&& run);
    com::ComPtr<IDispatch> launchOffice(InstanceUse use);
    void restoreAlerts() noexcept;
    std::optional<int> disableMacros();
    void restoreMacros(std::optional<int> before) noexcept;
    void endAbandoned() noexcept;
    void noteServerProcess(bool inUse, const std::optional<std::vector<DWORD>>& before);
    void bringToFront() noexcept;
    void endHungServer() noexcept;
    void awaitQuitEnd(DWORD process) noexcept;

    std::vector<Office> offices_;
    Launcher launch_;
    std::chrono::milliseconds refusalWait_;
    ProcessTable processes_;
    std::optional<std::size_t> office_;  // of the last work instance
    std::optional<com::ComApartment> apartment_;
    std::optional<com::BusyRetry> busyRetry_;
    InstanceUse use_ = InstanceUse::Work;
    com::ComPtr<IDispatch> application_;
    com::ComPtr<IDispatch> workbooks_;
    com::ComPtr<IDispatch> workbook_;
    com::ComPtr<IDispatch> sheet_;
    std::u16string path_;  // of the open workbook
    bool quit_ = false;
    bool shown_ = false;
    bool unresponsive_ = false;  // a call was refused for longer than kBusyWaitMs
    // The operator's own running office, which a server that serves every
    // caller from one process hands out, or any instance whose process is not
    // known to have started with it: only the bill workbook is ours in it.
    bool shared_ = false;
    std::optional<bool> alertsBefore_;  // the shared window's own DisplayAlerts
    std::intptr_t window_ = 0;          // the application's main window (Hwnd)
    // The process of an instance this object started; 0 when unknown or when
    // the instance is the operator's. Ended when one of its calls overruns,
    // and when it lingers after Quit.
    DWORD ownProcess_ = 0;
    std::atomic<DWORD> serverProcess_{0};  // the same, until the instance is shown
    DWORD callerThread_ = GetCurrentThreadId();
    bool timedOut_ = false;     // a call overran and the instance was ended
    bool cancellable_ = false;  // CoEnableCallCancellation on this thread
    common::CallWatchdog watchdog_{[this] { endHungServer(); }};
};

}  // namespace cubrix
