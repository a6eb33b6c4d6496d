// libFuzzer target: arbitrary bytes as field texts through the reader, the
// formatter (both its paths held to each other) and whole recalculation passes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "bill/number_format.h"
#include "bill/number_format_paths.h"
#include "bill/number_reading.h"
#include "bill/recalculation.h"
#include "bill/settled_pass.h"
#include "bill/utf8.h"
#include "bill/zero_blanking.h"

namespace {

// Where the fast path decides, the text path must write the very same text:
// a tie rounded the wrong way is off by a whole unit of the last place, which
// the read-back check below cannot tell from a correct rounding.
void requireBothPathsAgree(double value, int decimals) {
    char16_t quick[cubrix::kFormatBufferSize];
    char16_t slow[cubrix::kFormatBufferSize];
    const auto fast = cubrix::formatFixedFast(value, decimals, quick);
    if (fast && *fast != cubrix::formatFixedByText(value, decimals, slow)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cubrix;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = fromUtf8(bytes);
    if (toUtf8(text).size() > 4 * text.size() + 4) __builtin_trap();

    char16_t buffer[kFormatBufferSize];
    if (const auto v = readNumber(text); v && std::isfinite(*v)) {
        for (int decimals : {kAmountDecimals, kVolumeDecimals}) {
            requireBothPathsAgree(*v, decimals);
            const auto shown = formatFixed(*v, decimals, buffer);
            // What is written reads back within half a unit of its last place.
            const auto back = readNumber(shown);
            if (!back || std::fabs(*back - *v) >
                             0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(*v) * 1e-14)
                __builtin_trap();
        }
    }
    // Raw 8-byte chunks as doubles: the formatter takes any finite value.
    for (std::size_t i = 0; i + sizeof(double) <= size; i += sizeof(double)) {
        double d;
        std::memcpy(&d, data + i, sizeof d);
        if (!std::isfinite(d)) continue;
        formatFixed(d, kVolumeDecimals, buffer);
        for (int decimals : {kAmountDecimals, kVolumeDecimals}) requireBothPathsAgree(d, decimals);
    }

    // Split the text over the input fields and run passes, on every tick on
    // one sheet and as the window runs them (left out at rest) on another:
    // the two never part.
    BillSheet sheet;
    BillSheet settled;
    connectZeroBlanking(sheet);
    connectZeroBlanking(settled);
    const Field inputs[] = {Field::Text1, Field::Text2, Field::Text3, Field::Text4,
                            Field::Text6, Field::Text5, Field::Text7};
    std::size_t start = 0;
    for (int k = 0; k < 14 && start <= text.size(); ++k) {
        const std::size_t len = (text.size() - start) / 2 + (k & 1);
        const auto part = std::u16string_view(text).substr(start, len);
        sheet.set(inputs[k % 7], k / 7 * 3, part);
        settled.set(inputs[k % 7], k / 7 * 3, part);
        start += len;
    }
    SettledPass windowPass;
    for (int pass = 0; pass < 3; ++pass) {
        const auto failure = Timer1_Timer(sheet);
        if (windowPass.run(settled).has_value() != failure.has_value()) __builtin_trap();
        // The routes out ask the texts alone and get the same answer; a bill
        // that cannot be computed never shows a total amount.
        if (passFailure(sheet).has_value() != failure.has_value()) __builtin_trap();
        if (failure && !sheet.text(Field::Text9).empty()) __builtin_trap();
        for (int slot = 0; slot < kFieldCount; ++slot)
            if (sheet.text(fieldAt(slot)) != settled.text(fieldAt(slot))) __builtin_trap();
    }
    return 0;
}
