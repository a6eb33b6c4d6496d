#include "platform/excel/excel_spreadsheet.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <utility>

#include "bill/utf8.h"
#include "export/workbook_file.h"
#include "platform/excel/com_error.h"
#include "platform/excel/dispatch.h"
#include "platform/excel/variant.h"

namespace cubrix {
namespace {

using com::ComError;

// Excel answers "workbook opened read-only" with no error at all, so the
// failure gets the number Windows gives a denied write.
constexpr HRESULT kReadOnlyHresult = E_ACCESSDENIED;

// Excel evaluates an assigned string as if typed: "=..." becomes a formula,
// "0123" the number 123. A leading apostrophe makes it literal text and is not
// part of the value. Unlike NumberFormat "@" it leaves the template's cell
// format alone, so a cell that gets a number on the next print still shows it
// in its own format.
constexpr char16_t kLiteralPrefix = u'\'';

// Excel's own refusal of a call while it cannot take one, e.g. while the
// operator edits a cell in its window.
constexpr HRESULT kOfficeBusy = static_cast<HRESULT>(0x800AC472);

// A busy server's refusal: RPC_E_CALL_REJECTED once the message filter gave
// up, RPC_E_SERVERCALL_RETRYLATER where no filter retried it, or the office's
// own. None of them carried the call out.
bool busy(HRESULT hr) {
    return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER || hr == kOfficeBusy;
}

// Excel started through automation runs the macros of every workbook it opens
// (AutomationSecurity 1, msoAutomationSecurityLow), unseen: a doctored
// workbook's opening macro would run twice a print. ForceDisable opens every
// workbook with its macros off, asking nothing.
constexpr int kMacrosForceDisabled = 3;  // msoAutomationSecurityForceDisable

// An office of ours that still runs this long after Quit is ended.
constexpr auto kQuitGrace = std::chrono::seconds(5);

// Each call into the office returns within this, or the office is ended. A
// busy office's refusals are retried inside the one call (kBusyWaitMs), so
// the bound lies beyond that wait.
constexpr auto kCallLimit = std::chrono::milliseconds(com::kBusyWaitMs + 10000);

// The office's process went away under a call (it crashed or was ended).
bool serverGone(HRESULT hr) {
    return hr == RPC_E_DISCONNECTED || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE) || hr == RPC_E_SERVER_DIED ||
           hr == RPC_E_SERVER_DIED_DNE || hr == CO_E_OBJNOTCONNECTED;
}

// Sets a property that not every office knows (older Excel, WPS): one that
// does not know it, or refuses it, goes on without. Only a busy or vanished
// office fails the step, so that it is retried or reported as such.
template <class Value>
void putOptional(IDispatch* object, std::wstring_view name, Value value) {
    try {
        com::put(object, name, value);
    } catch (const ComError& e) {
        if (busy(e.hr()) || serverGone(e.hr())) throw;
    }
}

IDispatch* held(const com::ComPtr<IDispatch>& object, const char* what) {
    if (!object) throw ComError(E_UNEXPECTED, std::string("no ") + what + " held");
    return object.get();
}

com::Variant cellVariant(const CellValue& value) {
    if (const double* number = std::get_if<double>(&value)) return com::Variant(*number);
    const auto& text = std::get<std::u16string>(value);
    // An empty text clears the cell, as the sheet's formulas expect of a blank.
    if (text.empty()) return com::Variant(text);
    return com::Variant(kLiteralPrefix + text);
}

// Windows' codes for a write that found no room, on the disk or in a quota.
bool noRoom(HRESULT hr) {
    return hr == HRESULT_FROM_WIN32(ERROR_DISK_FULL) ||
           hr == HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL) ||
           hr == HRESULT_FROM_WIN32(kDiskQuotaExceeded) || hr == STG_E_MEDIUMFULL;
}

// Excel's own error codes for a missing file are generic, so look first.
void requireFile(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()));
    DWORD error = ERROR_SUCCESS;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return;
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = ERROR_FILE_NOT_FOUND;
    } else {
        return;
    }
    throw SpreadsheetFailure(SpreadsheetError::FileMissing,
                             static_cast<int>(HRESULT_FROM_WIN32(error)),
                             toUtf8(path) + ": no such workbook");
}

// WPS opens an empty file as a new, empty workbook; Excel refuses it with
// its catch-all code. Either way the file is what the operator must mend.
void requireContent(const std::string& pathUtf8) {
    if (inspectWorkbook(pathUtf8) == WorkbookContent::Empty)
        throw SpreadsheetFailure(SpreadsheetError::Damaged,
                                 static_cast<int>(HRESULT_FROM_WIN32(ERROR_INVALID_DATA)),
                                 "workbook: 0 bytes");
}

// With alerts off, Excel may fail to open a file that another program holds
// open for writing, instead of opening it read-only. Asking Windows for write
// access, sharing everything, tells that apart: only such a holder refuses.
bool heldElsewhere(const std::u16string& path) {
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Excel reports most failed saves with its one catch-all code. A save counts
// as refused (the operator's to mend: close the file elsewhere, make it
// writable) when Windows says so or the file is marked read-only; a network
// failure is another matter.
bool writeRefused(HRESULT hr, const std::u16string& path) {
    if (hr == E_ACCESSDENIED || hr == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) ||
        hr == HRESULT_FROM_WIN32(ERROR_LOCK_VIOLATION) ||
        hr == HRESULT_FROM_WIN32(ERROR_WRITE_PROTECT))
        return true;
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace

// Runs one step, bounded by the watchdog; a COM failure becomes the export's
// failure of `kind`, or a time-out when Excel kept refusing the call or did
// not return from it. A refused call was not carried out, so the step runs
// again until refusalWait_ has passed: with the message filter retrying
// inside the call, the first refusal only comes back after that; where none
// retried (Wine passes a refusal on at once), this does.
template <class Step>
void ExcelSpreadsheet::step(SpreadsheetError kind, Step&& run) {
    const auto giveUp = std::chrono::steady_clock::now() + refusalWait_;
    for (;;) {
        try {
            common::CallWatchdog::Guard guard(watchdog_, kCallLimit);
            run();
            return;
        } catch (const ComError& e) {
            std::vector<std::string> concerned;
            if (watchdog_.fired()) {
                watchdog_.reset();
                timedOut_ = true;
                kind = SpreadsheetError::TimedOut;
            } else if (busy(e.hr())) {
                if (std::chrono::steady_clock::now() < giveUp) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(com::kBusyRetryMs));
                    continue;
                }
                unresponsive_ = true;
                kind = SpreadsheetError::Unresponsive;
            } else if (serverGone(e.hr()) && office_) {
                kind = SpreadsheetError::OfficeClosed;
                concerned.emplace_back(offices_[*office_].name);
            }
            throw SpreadsheetFailure(kind, static_cast<int>(e.hr()), e.what(),
                                     std::move(concerned));
        }
    }
}

ExcelSpreadsheet::ExcelSpreadsheet(std::span<const Office> offices, Launcher launch,
                                   std::chrono::milliseconds refusalWait, ProcessTable processes)
    : offices_(offices.begin(), offices.end()),
      launch_(std::move(launch)),
      refusalWait_(refusalWait),
      processes_(std::move(processes)) {}

com::ComPtr<IDispatch> ExcelSpreadsheet::startServer(std::wstring_view progId) {
    return com::createObject(progId, CLSCTX_LOCAL_SERVER);
}

// The first office that can be created, or for the shown instance the one
// that wrote the workbook. When none can, the failure names every office
// tried and carries the HRESULT of the first, the preferred one.
com::ComPtr<IDispatch> ExcelSpreadsheet::launchOffice(InstanceUse use) {
    if (use == InstanceUse::Display && office_) return launch_(offices_[*office_].progId);
    office_.reset();
    HRESULT first = REGDB_E_CLASSNOTREG;
    std::string detail = "no spreadsheet program to start";
    std::vector<std::string> tried;
    for (std::size_t i = 0; i < offices_.size(); ++i) {
        try {
            com::ComPtr<IDispatch> application = launch_(offices_[i].progId);
            office_ = i;
            return application;
        } catch (const ComError& e) {
            if (tried.empty()) {
                first = e.hr();
                detail.clear();
            } else {
                detail += "; ";
            }
            detail += e.what();
            if (std::find(tried.begin(), tried.end(), offices_[i].name) == tried.end())
                tried.emplace_back(offices_[i].name);
        }
    }
    throw SpreadsheetFailure(SpreadsheetError::CannotStart, static_cast<int>(first), detail,
                             std::move(tried));
}

void ExcelSpreadsheet::createInstance(InstanceUse use) {
    release();
    use_ = use;
    // Noted before the office is asked: an instance in any of these processes
    // is the operator's office, whatever it reports of itself.
    const std::optional<std::vector<DWORD>> before = processes_.running();
    step(SpreadsheetError::CannotStart, [&] {
        if (!apartment_) apartment_.emplace();
        if (!busyRetry_) busyRetry_.emplace();
        if (!cancellable_) cancellable_ = SUCCEEDED(CoEnableCallCancellation(nullptr));
        application_ = launchOffice(use);
    });
    // Apart from the start, which is never repeated: a refusal repeats a step.
    step(SpreadsheetError::CannotStart, [&] {
        workbooks_ = com::getObject(application_.get(), L"Workbooks");
        // A new instance is hidden and empty. WPS serves every caller from
        // one process and may hand out the operator's office instead, even
        // one that reports itself hidden and empty.
        const bool inUse = com::get(application_.get(), L"Visible").toBool() ||
                           com::get(workbooks_.get(), L"Count").toDouble() > 0;
        noteServerProcess(inUse, before);
        if (use != InstanceUse::Work) return;
        if (shared_) alertsBefore_ = com::get(application_.get(), L"DisplayAlerts").toBool();
        // Nobody answers a prompt while the export waits on its call (file in
        // use, the .xls compatibility check on save); it would wait forever.
        com::put(application_.get(), L"DisplayAlerts", false);
    });
}

void ExcelSpreadsheet::openWorkbook(const std::string& pathUtf8) {
    const std::u16string path = fromUtf8(pathUtf8);
    requireFile(path);
    requireContent(pathUtf8);
    path_ = path;
    const std::optional<int> securityBefore = disableMacros();
    try {
        step(SpreadsheetError::Other, [&] {
            try {
                workbook_ = com::getObject(held(workbooks_, "Workbooks"), L"Open", path);
            } catch (const ComError& e) {
                // Excel's code says only that it failed; the file says why.
                if (busy(e.hr())) throw;
                if (heldElsewhere(path))
                    throw SpreadsheetFailure(
                        SpreadsheetError::WorkbookLocked,
                        static_cast<int>(HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)),
                        pathUtf8 + ": open for writing in another program; " + e.what());
                if (inspectWorkbook(pathUtf8) == WorkbookContent::NotAWorkbook)
                    throw SpreadsheetFailure(SpreadsheetError::Damaged, static_cast<int>(e.hr()),
                                             e.what());
                throw;
            }
        });
    } catch (const SpreadsheetFailure&) {
        restoreMacros(securityBefore);
        throw;
    }
    restoreMacros(securityBefore);
    // With alerts off, Excel opens a workbook that is open elsewhere read-only
    // instead of asking; saving it would then fail or go to a copy.
    if (use_ != InstanceUse::Work) return;
    bool readOnly = false;
    step(SpreadsheetError::Other,
         [&] { readOnly = com::get(workbook_.get(), L"ReadOnly").toBool(); });
    if (readOnly)
        throw SpreadsheetFailure(SpreadsheetError::WorkbookLocked,
                                 static_cast<int>(kReadOnlyHresult),
                                 pathUtf8 + ": opened read-only");
}

void ExcelSpreadsheet::selectSheet(std::u16string_view name) {
    step(SpreadsheetError::SheetMissing,
         [&] { sheet_ = com::getObject(held(workbook_, "workbook"), L"Worksheets", name); });
}

void ExcelSpreadsheet::setCell(int row, int column, const CellValue& value) {
    step(SpreadsheetError::Other, [&] {
        const auto cell = com::getObject(held(sheet_, "sheet"), L"Cells", row, column);
        com::put(cell.get(), L"Value", cellVariant(value));
    });
}

void ExcelSpreadsheet::save() {
    // The .xls compatibility check asks in a dialog whenever alerts are on,
    // and nobody answers it.
    step(SpreadsheetError::Other,
         [&] { putOptional(held(workbook_, "workbook"), L"CheckCompatibility", false); });
    step(SpreadsheetError::Other, [&] {
        try {
            com::call(held(workbook_, "workbook"), L"Save");
        } catch (const ComError& e) {
            if (busy(e.hr())) throw;
            // A full disk comes first: Windows may call it a refused write.
            if (noRoom(e.hr()) || !roomToSave(toUtf8(path_)))
                throw SpreadsheetFailure(SpreadsheetError::NoRoom, static_cast<int>(e.hr()),
                                         e.what());
            if (writeRefused(e.hr(), path_))
                throw SpreadsheetFailure(SpreadsheetError::WorkbookLocked, static_cast<int>(e.hr()),
                                         e.what());
            throw;
        }
    });
}

void ExcelSpreadsheet::closeAll() {
    // In the operator's window only the bill workbook is ours to close.
    if (shared_)
        step(SpreadsheetError::Other, [&] { com::call(held(workbook_, "workbook"), L"Close"); });
    else
        step(SpreadsheetError::Other, [&] { com::call(held(workbooks_, "Workbooks"), L"Close"); });
    sheet_.reset();
    workbook_.reset();
}

void ExcelSpreadsheet::quit() {
    // The operator's window stays as it was found.
    if (shared_)
        restoreAlerts();
    else
        step(SpreadsheetError::Other,
             [&] { com::call(held(application_, "application"), L"Quit"); });
    quit_ = true;
}

void ExcelSpreadsheet::show() {
    // The office may take the foreground only with this program's leave.
    if (application_) CoAllowSetForegroundWindow(application_.get(), nullptr);
    step(SpreadsheetError::Other,
         [&] { com::put(held(application_, "application"), L"Visible", true); });
    shown_ = true;
    serverProcess_ = 0;  // the operator's now, never to be ended
    ownProcess_ = 0;
    // Excel quits an instance that is not under the operator's control once
    // its last reference is gone, and the shown bill with it.
    step(SpreadsheetError::Other, [&] { putOptional(application_.get(), L"UserControl", true); });
    bringToFront();
}

// Shown from behind this program's window, the bill would stay behind it.
void ExcelSpreadsheet::bringToFront() noexcept {
    if (window_ != 0) SetForegroundWindow(reinterpret_cast<HWND>(window_));
}

// Set immediately before each Open. In the operator's own office the setting
// is theirs: read first, for restoreMacros. An office that does not know it
// (older Excel, WPS) or refuses it opens the workbook as it would anyway.
std::optional<int> ExcelSpreadsheet::disableMacros() {
    std::optional<int> before;
    step(SpreadsheetError::Other, [&] {
        IDispatch* app = held(application_, "application");
        before.reset();
        if (shared_) {
            try {
                before = static_cast<int>(com::get(app, L"AutomationSecurity").toDouble());
            } catch (const ComError& e) {
                if (busy(e.hr()) || serverGone(e.hr())) throw;
            }
        }
        putOptional(app, L"AutomationSecurity", kMacrosForceDisabled);
    });
    return before;
}

// Right after the Open, whether it succeeded or not. A failed restore leaves
// the operator's office with macros off: safe, and the print goes on. An
// office that timed out or kept refusing is not asked again.
void ExcelSpreadsheet::restoreMacros(std::optional<int> before) noexcept {
    if (!before || timedOut_ || unresponsive_ || !application_) return;
    try {
        step(SpreadsheetError::Other,
             [&] { putOptional(application_.get(), L"AutomationSecurity", *before); });
    } catch (const SpreadsheetFailure&) {
    }
}

// A failed restore only leaves the operator's prompts off; the bill is saved.
void ExcelSpreadsheet::restoreAlerts() noexcept {
    if (!alertsBefore_) return;
    try {
        com::put(application_.get(), L"DisplayAlerts", *alertsBefore_);
    } catch (const ComError&) {
    }
    alertsBefore_.reset();
}

// Closes the workbook unsaved and ends the instance, or in the operator's
// window closes only the workbook. Every step is tried even when one fails: a
// dead server only makes each of them fail quickly.
void ExcelSpreadsheet::endAbandoned() noexcept {
    IDispatch* app = application_.get();
    if (!shared_) {
        try {
            com::put(app, L"DisplayAlerts", false);
        } catch (const ComError&) {
        }
    }
    if (workbook_) {
        try {
            com::call(workbook_.get(), L"Close", false);  // SaveChanges:=False asks nothing
        } catch (const ComError&) {
        }
    }
    if (shared_) {
        restoreAlerts();
        return;
    }
    try {
        com::call(app, L"Quit");  // quits without saving while alerts are off
        quit_ = true;
    } catch (const ComError&) {
    }
}

// Decides whose the instance is, by the process behind the application's
// main window (Excel's Hwnd): ours only when that process is new and the
// instance is hidden and empty. Ours may be quit, and ended when a call hangs
// or it lingers after Quit. An office without Hwnd, or whose process is not
// known, is the operator's. A busy refusal repeats the step.
void ExcelSpreadsheet::noteServerProcess(bool inUse,
                                         const std::optional<std::vector<DWORD>>& before) {
    window_ = 0;
    try {
        window_ = static_cast<std::intptr_t>(com::get(application_.get(), L"Hwnd").toDouble());
    } catch (const ComError& e) {
        if (busy(e.hr())) throw;
    }
    const DWORD process = processes_.ofWindow(window_);
    shared_ = inUse || !newProcess(process, before);
    ownProcess_ = shared_ ? 0 : process;
    serverProcess_ = ownProcess_;
}

// Runs on the watchdog's thread while the caller waits on a call that does
// not return. A synchronous COM call has no time-out of its own. Ending the
// office's process makes the waiting call fail at once, on Windows and under
// Wine alike; CoCancelCall, which would leave the office alive, is a stub in
// Wine and is only tried where the process is unknown.
void ExcelSpreadsheet::endHungServer() noexcept {
    if (const DWORD process = serverProcess_.exchange(0)) {
        processes_.end(process);
        return;
    }
    CoCancelCall(callerThread_, 0);
}

// An office of ours told to Quit ends once its last reference is gone; one
// that stays would hold the workbook and a hidden process.
void ExcelSpreadsheet::awaitQuitEnd(DWORD process) noexcept {
    if (!processes_.awaitEnd(process, kQuitGrace)) processes_.end(process);
}

void ExcelSpreadsheet::release() noexcept {
    // A shown instance now belongs to the operator, kept running by
    // UserControl once the last reference is gone.
    // An unresponsive one would refuse each step for as long again; Excel
    // started for automation ends by itself once its last reference is gone.
    // A timed-out one is ended already.
    if (application_ && !quit_ && !shown_ && !unresponsive_ && !timedOut_) endAbandoned();
    const DWORD quitProcess = quit_ ? ownProcess_ : 0;
    sheet_.reset();
    workbook_.reset();
    workbooks_.reset();
    application_.reset();
    if (quitProcess) awaitQuitEnd(quitProcess);
    quit_ = shown_ = unresponsive_ = shared_ = timedOut_ = false;
    serverProcess_ = 0;
    ownProcess_ = 0;
    window_ = 0;
    alertsBefore_.reset();
    if (cancellable_) CoDisableCallCancellation(nullptr);
    cancellable_ = false;
    busyRetry_.reset();
    apartment_.reset();
}

}  // namespace cubrix
