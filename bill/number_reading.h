// Reading a field's text as a number: the longest leading decimal number,
// blanks, tabs and line feeds ignored wherever they stand; no number reads as 0.
#pragma once

#include <optional>
#include <string_view>

namespace cubrix {

// Nothing when the number lies beyond the range of a double (an overflow).
// A number too small for a double reads as zero.
std::optional<double> readNumber(std::u16string_view text);

}  // namespace cubrix
