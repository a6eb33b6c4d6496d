#include "export/cell_value.h"

#include <cmath>

#include "bill/number_reading.h"

namespace cubrix {
namespace {

// A double keeps 15 significant digits; longer numbers stay text so that no
// digit the operator typed is lost.
constexpr int kMaxNumberDigits = 15;

// An optional sign, digits with at most one point among them, nothing else;
// at most 15 digits count, leading zeros and zeros after the last non-zero
// decimal not among them.
bool isPlainDecimal(std::u16string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) ++i;
    int digits = 0;
    int significant = 0;
    int pendingZeros = 0;  // zeros since the last non-zero digit
    bool point = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i];
        if (c >= u'0' && c <= u'9') {
            ++digits;
            if (c != u'0') {
                significant += pendingZeros + 1;
                pendingZeros = 0;
            } else if (significant > 0) {
                ++pendingZeros;
            }
        } else if (c == u'.' && !point) {
            point = true;
            // Zeros of the integer part after its last non-zero digit count.
            significant += pendingZeros;
            pendingZeros = 0;
        } else {
            return false;
        }
    }
    if (!point) significant += pendingZeros;
    return digits > 0 && significant <= kMaxNumberDigits;
}

}  // namespace

CellValue cellValueFor(std::u16string_view text, bool numeric) {
    if (numeric && isPlainDecimal(text)) {
        // A number too small for a double reads as 0 or loses digits, and a
        // negative zero would not show as typed: those stay text.
        const auto v = readNumber(text);
        const bool zeroText = text.find_first_of(u"123456789") == std::u16string_view::npos;
        if (v && (*v == 0.0 ? zeroText && !std::signbit(*v) : std::isnormal(*v))) return *v;
    }
    return std::u16string(text);
}

}  // namespace cubrix
