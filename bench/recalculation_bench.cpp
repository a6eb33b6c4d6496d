// One recalculation pass over typical and hostile sheets. The pass runs up to
// 100 times a second for the program's whole life.
#include <benchmark/benchmark.h>

#include <string>

#include "bill/recalculation.h"
#include "bill/settled_pass.h"
#include "bill/zero_blanking.h"
#include "counting_allocator.h"
#include "full_bill.h"

namespace {

using namespace cubrix;

using bench::keyFullBill;

void runPasses(benchmark::State& state, BillSheet& sheet) {
    if (Timer1_Timer(sheet)) state.SkipWithError("pass failed");
    const auto before = bench::allocationCount();
    for (auto _ : state) benchmark::DoNotOptimize(Timer1_Timer(sheet));
    state.counters["allocs/pass"] = benchmark::Counter(
        static_cast<double>(bench::allocationCount() - before), benchmark::Counter::kAvgIterations);
}

void BM_PassFullBillUnchanged(benchmark::State& state) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    keyFullBill(sheet);
    runPasses(state, sheet);
}
BENCHMARK(BM_PassFullBillUnchanged);

void BM_PassEmptySheet(benchmark::State& state) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    runPasses(state, sheet);
}
BENCHMARK(BM_PassEmptySheet);

// A megabyte of blanks or of digits in one field.
void BM_PassMegabyteField(benchmark::State& state) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    keyFullBill(sheet);
    const bool digits = state.range(0) == 1;
    std::u16string big(1 << 20, digits ? u'0' : u' ');
    if (digits) big = u"0." + big + u"5";  // stays in range: a tiny length
    sheet.set(Field::Text1, 3, big);
    runPasses(state, sheet);
}
BENCHMARK(BM_PassMegabyteField)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A megabyte of integer digits overflows: the pass stops at that line.
void BM_PassMegabyteOverflow(benchmark::State& state) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    keyFullBill(sheet);
    sheet.set(Field::Text1, 3, std::u16string(1 << 20, u'7'));
    for (auto _ : state) benchmark::DoNotOptimize(Timer1_Timer(sheet));
}
BENCHMARK(BM_PassMegabyteOverflow)->Unit(benchmark::kMicrosecond);

// The window's tick: at rest it leaves the pass out; after an edit it runs the
// pass with a copy of the sheet to tell whether the sheet has come to rest.
void BM_WindowTickAtRest(benchmark::State& state) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    keyFullBill(sheet);
    SettledPass pass;
    for (int k = 0; k < 3; ++k) pass.run(sheet);
    if (!pass.leftOut()) state.SkipWithError("the sheet does not come to rest");
    for (auto _ : state) benchmark::DoNotOptimize(pass.run(sheet));
}
BENCHMARK(BM_WindowTickAtRest);

void BM_WindowTickAfterEdit(benchmark::State& state) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    keyFullBill(sheet);
    SettledPass pass;
    bool odd = false;
    for (auto _ : state) {
        sheet.set(Field::Text1, 0, (odd = !odd) ? u"4.3" : u"4.2");
        benchmark::DoNotOptimize(pass.run(sheet));
    }
}
BENCHMARK(BM_WindowTickAfterEdit);

}  // namespace

BENCHMARK_MAIN();
