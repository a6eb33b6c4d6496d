// A failure handed to the caller of a handler: a number and a text for the
// operator (UTF-8).
#pragma once

#include <string>

namespace cubrix {

struct Failure {
    int number = 0;
    std::string text;
    int row = -1;  // the bill line it arose in, if any, so the operator can find it
    friend bool operator==(const Failure&, const Failure&) = default;
};

// Every number the program gives a failure of its own, in one place, in the
// style of the run-time's own numbers. The spreadsheet backends number their
// failures themselves: Excel's are its HRESULTs, LibreOffice's are listed in
// platform/libreoffice/libreoffice_failures.h.
inline constexpr int kTextTooLongNumber = 5;   // a bill text longer than a cell holds
inline constexpr int kOverflowNumber = 6;      // a value beyond the range of a double
inline constexpr int kCounterLimitNumber = 6;  // the print counter at its limit: an overflow too
inline constexpr int kOutOfMemoryNumber = 7;
inline constexpr int kUnexpectedNumber = 51;  // anything else no handler expected

// Starts the last line of a failure's text where a detail helps a technician
// (the office's own message, an HRESULT); the sentences above it are the
// operator's.
inline constexpr const char* kTechnicalDetail = "技术信息：";

// The recalculation's only failure, and its text; the window adds where it
// arose (app/window_messages.h).
inline constexpr const char* kOverflowText = "溢出";

inline Failure overflowFailure(int row = -1) {
    return {kOverflowNumber, kOverflowText, row};
}

}  // namespace cubrix
