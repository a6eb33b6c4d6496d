// A failure handed to the caller of a handler: a number and a text for the
// operator (UTF-8).
#pragma once

#include <string>

namespace cubrix {

struct Failure {
    int number = 0;
    std::string text;
    friend bool operator==(const Failure&, const Failure&) = default;
};

// The recalculation's only failure: a value beyond the range of a double.
inline constexpr int kOverflowNumber = 6;
inline constexpr const char* kOverflowText = "溢出";

inline Failure overflowFailure() {
    return {kOverflowNumber, kOverflowText};
}

}  // namespace cubrix
