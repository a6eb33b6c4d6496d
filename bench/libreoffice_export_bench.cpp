// Wall time of one whole export through a real hidden LibreOffice:
// start, open, 65 cells, save, quit, and the (stubbed) display launch. Cold
// starts with a new office profile; warm reuses the cached one, as every
// export after the first does.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "bill/recalculation.h"
#include "bill/zero_blanking.h"
#include "export/bill_export.h"
#include "full_bill.h"
#include "platform/libreoffice/libreoffice_spreadsheet.h"

namespace {

using namespace cubrix;
namespace fs = std::filesystem;

struct Scratch {
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "cubrix-lo-bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
        workbook = path + "/Tarnel账单.xls";
        fs::copy_file(CUBRIX_WORKBOOK_TEMPLATE, workbook);
    }
    ~Scratch() { fs::remove_all(path); }
    std::string path;
    std::string workbook;
};

void keyBill(BillSheet& sheet) {
    connectZeroBlanking(sheet);
    bench::keyFullBill(sheet);
    sheet.set(Field::Text10, 0, u"林场");
    Timer1_Timer(sheet);
}

bool exportOnce(const BillSheet& sheet, const std::string& workbook, const std::string& cache) {
    LibreOfficeOptions options;
    options.cacheRoot = cache;
    options.displayCommand = {"/bin/true"};
    LibreOfficeSpreadsheet office(options);
    ExportCounter counter = 1;  // no reminder
    return !Command4_Click(sheet, counter, {{office, workbook}, {}}).has_value();
}

void BM_ExportCold(benchmark::State& state) {
    Scratch scratch;
    BillSheet sheet;
    keyBill(sheet);
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string cache = scratch.path + "/cache-" + std::to_string(++run);
        state.ResumeTiming();
        if (!exportOnce(sheet, scratch.workbook, cache)) state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_ExportCold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ExportWarm(benchmark::State& state) {
    Scratch scratch;
    BillSheet sheet;
    keyBill(sheet);
    const std::string cache = scratch.path + "/cache";
    if (!exportOnce(sheet, scratch.workbook, cache)) state.SkipWithError("first export failed");
    for (auto _ : state)
        if (!exportOnce(sheet, scratch.workbook, cache)) state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
