// Writing a computed value with a fixed number of decimals, as the patterns
// "0.0000" and "0.00" do: first rounded to 15 significant digits, then half
// away from zero to the pattern's decimals; never an exponent.
#pragma once

#include <string_view>

namespace cubrix {

inline constexpr int kVolumeDecimals = 4;  // "0.0000"
inline constexpr int kAmountDecimals = 2;  // "0.00"

// Room for the largest finite double in full plus the decimals and sign.
inline constexpr int kFormatBufferSize = 400;

// Writes into `out` (kFormatBufferSize chars) and returns the text written.
// `value` must be finite.
std::u16string_view formatFixed(double value, int decimals, char16_t* out);

}  // namespace cubrix
