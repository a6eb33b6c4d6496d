#include "bill/recalculation.h"

#include <bitset>
#include <cmath>
#include <limits>

#include "bill/number_format.h"
#include "bill/number_reading.h"
#include "bill/zero_blanking.h"

namespace cubrix {
namespace {

// One pass. A figure that cannot be computed (a text beyond the range of a
// double, or a result that overflows) is cleared rather than left as an
// earlier pass wrote it, so no field ever shows a figure its inputs do not
// give; the lines that can be computed are brought up to date all the same.
class Pass {
public:
    explicit Pass(BillSheet& sheet) : sheet_(sheet) {}

    // A text beyond the range of a double reads as NaN, so that whatever is
    // computed from it fails the check on the finished value.
    double read(Field f, int index) const {
        return readNumber(sheet_.text(f, index)).value_or(std::numeric_limits<double>::quiet_NaN());
    }

    // Writes a finished value, or clears the field when it is not finite.
    bool write(Field f, int index, double value, int decimals) {
        if (!std::isfinite(value)) {
            clear(f, index);
            return false;
        }
        char16_t buffer[kFormatBufferSize];
        sheet_.set(f, index, formatFixed(value, decimals, buffer));
        return true;
    }

    void clear(Field f, int index) { sheet_.set(f, index, u""); }

    // The operator is sent to the topmost line that cannot be computed, or
    // to the totals (-1) when every line can.
    void fail(int row) {
        if (!failure_ || row < failure_->row) failure_ = overflowFailure(row);
    }
    const std::optional<Failure>& failure() const { return failure_; }

private:
    BillSheet& sheet_;
    std::optional<Failure> failure_;
};

}  // namespace

std::optional<Failure> Timer1_Timer(BillSheet& sheet) {
    Pass pass(sheet);
    std::bitset<kLineRows> failedLines;
    for (int i = 0; i < kLineRows; ++i) {
        const double volume = pass.read(Field::Text1, i) * pass.read(Field::Text2, i) *
                              pass.read(Field::Text3, i) * pass.read(Field::Text4, i) /
                              kVolumeDivisor;
        if (!pass.write(Field::Text5, i, volume, kVolumeDecimals)) {
            failedLines.set(i);
            pass.fail(i);
        }
    }
    // Amounts use the volumes as now shown: rounded, or empty where blanked.
    // A line without a volume has no amount either.
    for (int i = 0; i < kLineRows; ++i) {
        if (failedLines.test(i)) {
            pass.clear(Field::Text7, i);
            continue;
        }
        const double amount = pass.read(Field::Text6, i) * pass.read(Field::Text5, i);
        if (!pass.write(Field::Text7, i, amount, kAmountDecimals)) {
            failedLines.set(i);
            pass.fail(i);
        }
    }
    // Totals of a bill with a line that cannot be computed would leave that
    // line out: they show nothing until it is mended.
    if (failedLines.any()) {
        pass.clear(Field::Text8, 0);
        pass.clear(Field::Text9, 0);
        return pass.failure();
    }
    // A figure shown at the very edge of a double's range may not read back:
    // the total it belongs in then cannot be computed either.
    double totalVolume = 0.0, totalAmount = 0.0;
    for (int i = 0; i < kLineRows; ++i) totalVolume += pass.read(Field::Text5, i);
    if (!pass.write(Field::Text8, 0, totalVolume, kVolumeDecimals)) pass.fail(-1);
    for (int i = 0; i < kLineRows; ++i) totalAmount += pass.read(Field::Text7, i);
    // The total amount keeps four decimals, unlike the line amounts.
    if (!pass.write(Field::Text9, 0, totalAmount, kVolumeDecimals)) pass.fail(-1);
    return pass.failure();
}

std::optional<Failure> passFailure(const BillSheet& sheet) {
    // The computed fields are written by the pass before it reads them, so
    // a copy of the texts with its own blanking behaves as the sheet would.
    BillSheet scratch;
    connectZeroBlanking(scratch);
    for (int slot = 0; slot < kFieldCount; ++slot)
        scratch.set(fieldAt(slot), sheet.text(fieldAt(slot)));
    return Timer1_Timer(scratch);
}

}  // namespace cubrix
