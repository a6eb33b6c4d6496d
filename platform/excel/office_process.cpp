#include "platform/excel/office_process.h"

// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>

namespace cubrix {
namespace {

std::optional<std::vector<DWORD>> runningProcesses() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<DWORD> ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry))
        ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    if (ids.empty()) return std::nullopt;
    return ids;
}

DWORD windowProcess(std::intptr_t window) {
    DWORD process = 0;
    if (window != 0) GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &process);
    return process;
}

bool awaitProcessEnd(DWORD process, std::chrono::milliseconds limit) {
    const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (!handle) return true;  // gone already
    const bool ended =
        WaitForSingleObject(handle, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    CloseHandle(handle);
    return ended;
}

void endProcess(DWORD process) {
    if (const HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, process)) {
        TerminateProcess(handle, 1);
        CloseHandle(handle);
    }
}

}  // namespace

ProcessTable systemProcesses() {
    return {runningProcesses, windowProcess, awaitProcessEnd, endProcess};
}

bool newProcess(DWORD process, const std::optional<std::vector<DWORD>>& before) {
    return process != 0 && process != GetCurrentProcessId() && before &&
           std::find(before->begin(), before->end(), process) == before->end();
}

}  // namespace cubrix
