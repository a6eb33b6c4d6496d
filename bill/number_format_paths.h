// The two ways formatFixed takes, open to the tests and the fuzz target so
// that each is held to the other: the exact fast path, which needs no text
// conversion, and the text path, which takes any finite value.
#pragma once

#include <optional>
#include <string_view>

namespace cubrix {

// Nothing where the fast path does not decide: zero, |value| < 1e-8,
// |value| >= 1e15, an exact tie at the 16th significant digit, and decimals
// outside 1 to 4.
std::optional<std::u16string_view> formatFixedFast(double value, int decimals, char16_t* out);

std::u16string_view formatFixedByText(double value, int decimals, char16_t* out);

}  // namespace cubrix
