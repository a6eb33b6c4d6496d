// The processes behind an office instance, as Windows knows them: which ran
// before the instance was asked for, whose window the instance shows, and
// the end of one. Handed to the backend, so that tests decide which process
// is new without starting one.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace cubrix {

struct ProcessTable {
    // The ids of every running process; nothing when Windows does not say.
    std::function<std::optional<std::vector<DWORD>>()> running;
    // The process that owns a window; 0 when unknown.
    std::function<DWORD(std::intptr_t window)> ofWindow;
    // Whether the process ended within the time (or is gone already).
    std::function<bool(DWORD process, std::chrono::milliseconds)> awaitEnd;
    std::function<void(DWORD process)> end;
};

ProcessTable systemProcesses();

// Whether `process` started after `before` was noted. Unknown (0, no list)
// is never new, nor is this program itself.
bool newProcess(DWORD process, const std::optional<std::vector<DWORD>>& before);

}  // namespace cubrix
