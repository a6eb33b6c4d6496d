#include "export/cell_value.h"

#include "bill/number_reading.h"

namespace cubrix {
namespace {

// A double keeps 15 significant digits; longer numbers stay text so that no
// digit the operator typed is lost.
constexpr int kMaxNumberDigits = 15;

// Optional minus, digits, optionally a point followed by digits; nothing else.
bool isPlainDecimal(std::u16string_view t) {
    std::size_t i = 0;
    if (i < t.size() && t[i] == u'-') ++i;
    int digits = 0;
    int significant = 0;
    bool point = false;
    bool digitAfterPoint = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i];
        if (c >= u'0' && c <= u'9') {
            ++digits;
            if (c != u'0' || significant > 0) ++significant;
            digitAfterPoint = digitAfterPoint || point;
        } else if (c == u'.' && !point && digits > 0) {
            point = true;
        } else {
            return false;
        }
    }
    return digits > 0 && (!point || digitAfterPoint) && significant <= kMaxNumberDigits;
}

}  // namespace

CellValue cellValueFor(std::u16string_view text, bool numeric) {
    if (numeric && isPlainDecimal(text)) {
        if (const auto v = readNumber(text)) return *v;
    }
    return std::u16string(text);
}

}  // namespace cubrix
