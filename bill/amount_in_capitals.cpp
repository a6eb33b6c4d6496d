#include "bill/amount_in_capitals.h"

#include <cmath>
#include <cstdint>

namespace cubrix {
namespace {

constexpr char16_t kDigits[] = u"零壹贰叁肆伍陆柒捌玖";
// The workbook's groups end at 1万亿 (10^14 fen).
constexpr double kFenLimit = 1e14;

std::u16string digit(std::int64_t d) {
    return std::u16string(1, kDigits[d]);
}

// A group of four digits (0 to 9999): 仟, 佰, 拾 and units, a zero written as
// 零 only after a non-zero digit and before a non-zero rest of the group.
std::u16string groupInCapitals(std::int64_t g) {
    const std::int64_t thousands = g / 1000;
    const std::int64_t hundreds = g / 100 % 10;
    const std::int64_t tens = g / 10 % 10;
    const std::int64_t units = g % 10;
    std::u16string out;
    if (thousands > 0) out += digit(thousands) + u"仟";
    if (hundreds > 0)
        out += digit(hundreds) + u"佰";
    else if (thousands > 0 && g % 100 > 0)
        out += u"零";
    if (tens > 0)
        out += digit(tens) + u"拾";
    else if (hundreds > 0 && units > 0)
        out += u"零";
    if (units > 0) out += digit(units);
    return out;
}

}  // namespace

std::u16string amountInCapitals(double total) {
    if (!std::isfinite(total)) return {};
    const double rounded = std::round(std::fabs(total) * 100);
    if (!(rounded < kFenLimit)) return {};
    const auto fen = static_cast<std::int64_t>(rounded);
    std::u16string out = u"人民币";
    if (total < 0 && fen > 0) out += u"负";
    if (fen == 0) return out + u"零元整";

    const std::int64_t yi = fen / 10'000'000'000;  // the 亿 group of the yuan
    const std::int64_t wan = fen / 1'000'000 % 10'000;
    const std::int64_t ones = fen / 100 % 10'000;
    const std::int64_t cents = fen % 100;  // jiao and fen as 0 to 99
    const bool tenThousandsOrMore = fen / 1'000'000 > 0;

    out += groupInCapitals(yi);
    if (yi > 0) out += u"亿";
    if (wan > 0) out += (yi > 0 && wan < 1000 ? u"零" : u"") + groupInCapitals(wan) + u"万";
    if (ones > 0)
        out +=
            (tenThousandsOrMore && (ones < 1000 || wan == 0) ? u"零" : u"") + groupInCapitals(ones);
    if (fen >= 100) out += u"元";

    if (cents == 0) return out + u"整";
    const std::int64_t jiao = cents / 10;
    if (jiao > 0) out += (fen >= 100 && ones % 10 == 0 ? u"零" : u"") + digit(jiao) + u"角";
    if (cents % 10 > 0) out += (jiao == 0 && fen >= 100 ? u"零" : u"") + digit(cents % 10) + u"分";
    return out;
}

}  // namespace cubrix
