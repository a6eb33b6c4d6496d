// What reading and writing decimal numbers share: the powers of ten and the
// carry of a rounding up through a run of digits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cubrix {

template <typename T, std::size_t N>
constexpr std::array<T, N> powersOfTen() {
    std::array<T, N> powers{};
    T power = 1;
    for (auto& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}

// 10^22 is the last power of ten a double holds exactly.
inline constexpr int kMaxExactPowerOfTen = 22;
inline constexpr auto kExactPowersOfTen = powersOfTen<double, kMaxExactPowerOfTen + 1>();
static_assert(kExactPowersOfTen[kMaxExactPowerOfTen] == 1e22);

// 10^19 is the last one an uint64 holds.
inline constexpr auto kIntPowersOfTen = powersOfTen<std::uint64_t, 20>();

// Adds one at the last of `count` digit characters. Returns false when the
// carry ran out at the front (all nines, now all zeros): the caller then puts
// a leading one.
constexpr bool roundUpDigits(char* digits, int count) {
    int k = count - 1;
    while (k >= 0 && digits[k] == '9') digits[k--] = '0';
    if (k < 0) return false;
    ++digits[k];
    return true;
}

}  // namespace cubrix
