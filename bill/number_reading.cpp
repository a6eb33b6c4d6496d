#include "bill/number_reading.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "bill/decimal_digits.h"

namespace cubrix {
namespace {

// Correct rounding to a double never needs more than 767 significant digits;
// past them one non-zero digit stands in for the rest, which keeps the rounding
// direction and bounds the work for a field holding a megabyte of digits.
constexpr int kKeptDigits = 800;
// A written exponent is held up to this: far outside a double either way,
// yet far from the int64 limit when the point's own shift (at most the text's
// length) is added.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000'000;

constexpr bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
constexpr bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

constexpr int kMaxExactDigits = 15;  // below 2^53

// The text with blanks skipped.
class Cursor {
public:
    explicit Cursor(std::u16string_view text) : text_(text) {}
    char16_t peek() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        return pos_ < text_.size() ? text_[pos_] : u'\0';
    }
    void next() { ++pos_; }

    // Skips a run of zeros (and blanks) and returns how many zeros.
    std::int64_t zeros() {
        std::int64_t count = 0;
        for (; pos_ < text_.size(); ++pos_) {
            if (text_[pos_] == u'0')
                ++count;
            else if (!isBlank(text_[pos_]))
                break;
        }
        return count;
    }

    // Hands a run of digits (blanks between them skipped) to `take` while
    // `wanted()` holds; then counts the rest of the run without keeping it:
    // a field may hold a megabyte of digits. Returns that count and whether
    // any of them was not zero.
    template <typename Take, typename Wanted>
    std::pair<std::int64_t, bool> digits(Take&& take, Wanted&& wanted) {
        for (; pos_ < text_.size() && wanted(); ++pos_) {
            const char16_t c = text_[pos_];
            if (isDigit(c))
                take(c);
            else if (!isBlank(c))
                return {0, false};
        }
        std::int64_t rest = 0;
        bool nonZero = false;
        for (; pos_ < text_.size(); ++pos_) {
            const char16_t c = text_[pos_];
            if (isDigit(c)) {
                ++rest;
                nonZero |= c != u'0';
            } else if (!isBlank(c)) {
                break;
            }
        }
        return {rest, nonZero};
    }

private:
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

// The significant digits of the mantissa (leading zeros dropped) and how many
// of them stand before the point.
struct Mantissa {
    char digits[kKeptDigits + 1];
    int kept = 0;
    bool sticky = false;      // a dropped non-zero digit
    std::uint64_t value = 0;  // the kept digits as an integer while they fit 15 digits
    std::int64_t pointShift = 0;
    bool anyDigit = false;

    void take(char16_t c, bool beforePoint) {
        anyDigit = true;
        if (kept == 0 && c == u'0') {
            if (!beforePoint) --pointShift;
            return;
        }
        if (beforePoint) ++pointShift;
        if (kept < kKeptDigits) {
            digits[kept++] = static_cast<char>(c);
            if (kept <= kMaxExactDigits) value = value * 10 + (c - u'0');
        } else if (c != u'0') {
            sticky = true;
        }
    }
};

std::int64_t readExponent(Cursor& in) {
    const char16_t e = in.peek();
    if (e != u'E' && e != u'e' && e != u'D' && e != u'd') return 0;
    Cursor look = in;
    look.next();
    bool negative = false;
    if (look.peek() == u'+' || look.peek() == u'-') {
        negative = look.peek() == u'-';
        look.next();
    }
    // Without digits the letter is not part of the number.
    std::int64_t exponent = 0;
    while (isDigit(look.peek())) {
        exponent = std::min<std::int64_t>(exponent * 10 + (look.peek() - u'0'), kExponentClamp);
        look.next();
    }
    return negative ? -exponent : exponent;
}

// The usual field: digits with at most one point and a sign, nothing else, 15
// digits at most. One exact division gives the correctly rounded value.
bool readPlain(std::u16string_view text, double& out) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == u'-';
    if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) ++i;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isDigit(c)) {
            mantissa = mantissa * 10 + (c - u'0');
            if (++digits > kMaxExactDigits) return false;
            decimals += point;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0) return false;
    const double v = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
    out = negative ? -v : v;
    return true;
}

}  // namespace

std::optional<double> readNumber(std::u16string_view text) {
    if (text.empty()) return 0.0;  // blanked results: the common case
    if (double plain = 0.0; readPlain(text, plain)) return plain;
    Cursor in(text);
    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.next();
    }

    Mantissa m;
    const auto notFull = [&m] { return m.kept < kKeptDigits; };
    // Leading zeros: before the point they change nothing, after it they
    // only move the point.
    m.anyDigit = in.zeros() > 0;
    const auto [intRest, intNonZero] = in.digits([&m](char16_t c) { m.take(c, true); }, notFull);
    m.pointShift += intRest;  // dropped digits before the point still scale the value
    m.sticky = m.sticky || intNonZero;
    if (in.peek() == u'.') {
        in.next();
        if (m.kept == 0) {
            const std::int64_t leading = in.zeros();
            m.pointShift -= leading;
            m.anyDigit = m.anyDigit || leading > 0;
        }
        const auto [fracRest, fracNonZero] =
            in.digits([&m](char16_t c) { m.take(c, false); }, notFull);
        m.sticky = m.sticky || fracNonZero;
        m.anyDigit = m.anyDigit || fracRest > 0;
    }
    if (!m.anyDigit) return 0.0;
    const std::int64_t exponent = readExponent(in);
    const double zero = negative ? -0.0 : 0.0;
    if (m.kept == 0) return zero;

    // The value is 0.d1d2d3... x 10^scale.
    const std::int64_t scale = m.pointShift + exponent;

    // Short mantissas with small exponents: one exact operation, correctly rounded.
    const std::int64_t power = scale - m.kept;
    if (m.kept <= kMaxExactDigits && !m.sticky && power >= -kMaxExactPowerOfTen &&
        power <= kMaxExactPowerOfTen) {
        const auto mantissa = static_cast<double>(m.value);
        const double v =
            power >= 0 ? mantissa * kExactPowersOfTen[power] : mantissa / kExactPowersOfTen[-power];
        return negative ? -v : v;
    }

    if (scale > 310) return std::nullopt;
    if (scale < -330) return zero;
    if (m.sticky) m.digits[m.kept++] = '1';

    char buffer[kKeptDigits + 16];
    char* p = buffer;
    *p++ = '0';
    *p++ = '.';
    p = std::copy(m.digits, m.digits + m.kept, p);
    *p++ = 'e';
    p = std::to_chars(p, buffer + sizeof buffer, scale).ptr;

    double value = 0.0;
    const auto [end, ec] = std::from_chars(buffer, p, value);
    if (ec == std::errc::result_out_of_range) {
        // Below the smallest subnormal reads as zero; above the largest double overflows.
        if (scale < 0) return zero;
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace cubrix
