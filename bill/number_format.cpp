#include "bill/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "bill/decimal_digits.h"
#include "bill/number_format_paths.h"

namespace cubrix {
namespace {

constexpr int kSignificantDigits = 15;

// Significant digits (no leading zeros) of a positive value and the decimal
// exponent of the first one: value = 0.d1d2.. x 10^(exp10 + 1) ... i.e. d1 is at 10^exp10.
struct Decimal {
    char digits[kSignificantDigits];
    int count = 0;
    int exp10 = 0;
};

// Digits of a scientific text "d.ddde±x" and its exponent.
int parseScientific(const char* begin, const char* end, char* digits, int& exp10) {
    int count = 0;
    const char* q = begin;
    for (; q < end && *q != 'e'; ++q)
        if (*q != '.') digits[count++] = *q;
    std::from_chars(q + 1 + (q[1] == '+'), end, exp10);
    return count;
}

// Rounds |value| to 15 significant digits. Starts from the shortest text that
// reads back as the value (cheap): with 15 digits or fewer it is that rounding,
// since a double holds any two 15-digit decimals apart. With 16 or 17 digits,
// rounding it again gives the same result unless it ends in a 16th digit 5,
// where it may stand on the far side of the tie; only then is the value
// converted at fixed precision (which takes an exact tie to the even digit).
Decimal toFifteenDigits(double magnitude) {
    char buf[64];
    char digits[24];
    Decimal d;
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    int count = parseScientific(buf, res.ptr, digits, d.exp10);
    if (count == kSignificantDigits + 1 && digits[kSignificantDigits] == '5') {
        res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                            kSignificantDigits - 1);
        count = parseScientific(buf, res.ptr, digits, d.exp10);
    } else if (count > kSignificantDigits) {
        const bool up = digits[kSignificantDigits] >= '5';
        count = kSignificantDigits;
        if (up && !roundUpDigits(digits, count)) {  // 99..9 became 100..0
            digits[0] = '1';
            ++d.exp10;
        }
    }
    while (count > 1 && digits[count - 1] == '0') --count;
    std::copy(digits, digits + count, d.digits);
    d.count = count;
    return d;
}

constexpr int kFastMinExp = -8;  // 10^(14-k) must be exact: 14 - k <= 22
constexpr int kFastMaxExp = 14;
// 15 digits times 10^decimals must fit an uint64.
constexpr int kMaxFastDecimals = 4;

// The common case without any text conversion: for 1e-8 <= v < 1e15 the
// product v x 10^(14-k) and its exact error (fma) give the 15-digit rounding
// exactly. Returns false on an exact tie and outside the range, where the
// text conversion decides.
bool fifteenDigitsFast(double v, std::uint64_t& digits15, int& exp10) {
    if (!(v >= 1e-8 && v < 1e15)) return false;
    int k = kFastMaxExp;
    while (k > kFastMinExp && v < (k >= 0 ? kExactPowersOfTen[k] : 1.0 / kExactPowersOfTen[-k]))
        --k;
    const double scale = kExactPowersOfTen[kFastMaxExp - k];
    const double s = v * scale;
    const double error = std::fma(v, scale, -s);  // v*scale == s + error exactly
    double r = std::nearbyint(s);
    const double t = s - r;  // exact: s and r are close
    if (t == 0.5 || t == -0.5) {
        if (error == 0.0) return false;  // a true tie
        if (t == 0.5 && error > 0) r += 1;
        if (t == -0.5 && error < 0) r -= 1;
    }
    if (r >= 1e15) {  // 999..9.6 rounded up to the next decade
        r /= 10;
        ++k;
    }
    if (r < 1e14 || r >= 1e15) return false;
    digits15 = static_cast<std::uint64_t>(r);
    exp10 = k;
    return true;
}

// value = digits15 x 10^(exp10 - 14); writes it rounded half away from zero
// to `decimals` places.
char16_t* writeRounded(std::uint64_t digits15, int exp10, int decimals, char16_t* p) {
    const int shift = exp10 - kSignificantDigits + 1 + decimals;
    std::uint64_t n = 0;
    if (shift >= 0) {
        n = digits15 * kIntPowersOfTen[shift];
    } else if (-shift <= kSignificantDigits) {
        const std::uint64_t unit = kIntPowersOfTen[-shift];
        n = digits15 / unit + (digits15 % unit >= unit / 2 ? 1 : 0);
    }
    char buf[24];
    char* end = std::to_chars(buf, buf + sizeof buf, n).ptr;
    const int len = static_cast<int>(end - buf);
    const int intDigits = len > decimals ? len - decimals : 0;
    if (intDigits == 0) *p++ = u'0';
    for (int i = 0; i < intDigits; ++i) *p++ = static_cast<char16_t>(buf[i]);
    *p++ = u'.';
    for (int i = len; i < decimals; ++i) *p++ = u'0';
    for (int i = intDigits; i < len; ++i) *p++ = static_cast<char16_t>(buf[i]);
    return p;
}

}  // namespace

std::optional<std::u16string_view> formatFixedFast(double value, int decimals, char16_t* out) {
    if (value == 0.0 || decimals < 1 || decimals > kMaxFastDecimals) return std::nullopt;
    std::uint64_t digits15 = 0;
    int exp10 = 0;
    if (!fifteenDigitsFast(std::fabs(value), digits15, exp10)) return std::nullopt;
    char16_t* p = out;
    if (std::signbit(value)) *p++ = u'-';
    p = writeRounded(digits15, exp10, decimals, p);
    return std::u16string_view(out, static_cast<std::size_t>(p - out));
}

std::u16string_view formatFixedByText(double value, int decimals, char16_t* out) {
    const bool negative = std::signbit(value) && value != 0.0;
    // Digits of the result, integer part first, `decimals` after the point.
    char digits[kFormatBufferSize];
    int intDigits = 0;
    int total = 0;

    if (value != 0.0) {
        Decimal d = toFifteenDigits(std::fabs(value));
        // Position p of digit i is exp10 - i (power of ten it stands for).
        const int lowest = -decimals;
        intDigits = d.exp10 >= 0 ? d.exp10 + 1 : 1;
        total = intDigits + decimals;
        for (int k = 0; k < total; ++k) {
            const int power = intDigits - 1 - k;
            const int i = d.exp10 - power;
            digits[k] = (i >= 0 && i < d.count) ? d.digits[i] : '0';
        }
        // Half away from zero: look at the first dropped digit.
        const int firstDropped = d.exp10 - (lowest - 1);
        if (firstDropped >= 0 && firstDropped < d.count && d.digits[firstDropped] >= '5' &&
            !roundUpDigits(digits, total)) {  // 9.99.. became 10.00..
            for (int m = total; m > 0; --m) digits[m] = digits[m - 1];
            digits[0] = '1';
            ++intDigits;
            ++total;
        }
    } else {
        intDigits = 1;
        total = 1 + decimals;
        for (int k = 0; k < total; ++k) digits[k] = '0';
    }

    char16_t* p = out;
    if (negative) *p++ = u'-';
    for (int k = 0; k < total; ++k) {
        if (k == intDigits) *p++ = u'.';
        *p++ = static_cast<char16_t>(digits[k]);
    }
    return {out, static_cast<std::size_t>(p - out)};
}

std::u16string_view formatFixed(double value, int decimals, char16_t* out) {
    if (const auto fast = formatFixedFast(value, decimals, out)) return *fast;
    return formatFixedByText(value, decimals, out);
}

}  // namespace cubrix
