// What the operator waits for after a click on the export button, step by
// step, as the export benchmark's runs report it to its driver.
#pragma once

#include <array>
#include <string_view>

namespace cubrix::bench {

// Milestones after the click, in the order they are reached; each line a run
// exports is "EXPORT MILESTONE MS" (EXPORT counted from 0, MS since the click,
// the time the reminder stood on screen not counted).
inline constexpr std::array<std::string_view, 7> kMilestones = {
    "hidden_started",   // the hidden office answers
    "workbook_open",    // the bill workbook is open in it
    "cells_written",    // the 65 cells
    "saved",            //
    "hidden_gone",      // the hidden office has ended
    "visible_started",  // the visible office was started or handed the workbook
    "bill_shown",       // a window titled with the workbook is on screen
};
// When the busy pointer went; when a LibreOffice window first appeared.
inline constexpr std::string_view kBusyEnded = "busy_ended";
inline constexpr std::string_view kFirstWindow = "first_window";
// Once the bill is up: how many visible and hidden offices run (counts).
inline constexpr std::string_view kVisibleOffices = "visible_offices";
inline constexpr std::string_view kHiddenOffices = "hidden_offices";

}  // namespace cubrix::bench
