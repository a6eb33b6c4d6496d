#include "bill/recalculation.h"

#include <cmath>

#include "bill/number_format.h"
#include "bill/number_reading.h"

namespace cubrix {
namespace {

// Reads fields and writes results; the first overflow stops everything after it.
class Pass {
public:
    explicit Pass(BillSheet& sheet) : sheet_(sheet) {}

    bool failed() const { return failed_; }
    // The line row of the field that failed; -1 for a total.
    int failedRow() const { return failedRow_; }

    double read(Field f, int index = 0) {
        if (failed_) return 0.0;
        const auto value = readNumber(sheet_.text(f, index));
        if (!value) fail(f, index);
        return value.value_or(0.0);
    }

    // Checks the finished value and writes it; a non-finite value fails instead.
    void write(Field f, int index, double value, int decimals) {
        if (failed_) return;
        if (!std::isfinite(value)) {
            fail(f, index);
            return;
        }
        char16_t buffer[kFormatBufferSize];
        sheet_.set(f, index, formatFixed(value, decimals, buffer));
    }

private:
    void fail(Field f, int index) {
        failed_ = true;
        failedRow_ = isLineColumn(f) ? index : -1;
    }

    BillSheet& sheet_;
    bool failed_ = false;
    int failedRow_ = -1;
};

}  // namespace

std::optional<Failure> Timer1_Timer(BillSheet& sheet) {
    Pass pass(sheet);
    for (int i = 0; i < kLineRows && !pass.failed(); ++i) {
        const double length = pass.read(Field::Text1, i);
        const double width = pass.read(Field::Text2, i);
        const double thickness = pass.read(Field::Text3, i);
        const double pieces = pass.read(Field::Text4, i);
        pass.write(Field::Text5, i, length * width * thickness * pieces / kVolumeDivisor,
                   kVolumeDecimals);
    }
    // Amounts use the volumes as now shown: rounded, or empty where blanked.
    for (int i = 0; i < kLineRows && !pass.failed(); ++i) {
        const double volume = pass.read(Field::Text5, i);
        const double price = pass.read(Field::Text6, i);
        pass.write(Field::Text7, i, price * volume, kAmountDecimals);
    }
    double totalVolume = 0.0;
    for (int i = 0; i < kLineRows; ++i) totalVolume += pass.read(Field::Text5, i);
    pass.write(Field::Text8, 0, totalVolume, kVolumeDecimals);

    double totalAmount = 0.0;
    for (int i = 0; i < kLineRows; ++i) totalAmount += pass.read(Field::Text7, i);
    // The total amount keeps four decimals, unlike the line amounts.
    pass.write(Field::Text9, 0, totalAmount, kVolumeDecimals);

    if (pass.failed()) return overflowFailure(pass.failedRow());
    return std::nullopt;
}

}  // namespace cubrix
