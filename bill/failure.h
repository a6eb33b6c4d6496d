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

// The recalculation's only failure: a value beyond the range of a double.
inline constexpr int kOverflowNumber = 6;
inline constexpr const char* kOverflowText = "溢出";

inline Failure overflowFailure(int row = -1) {
    return {kOverflowNumber, kOverflowText, row};
}

}  // namespace cubrix
