// Wall time of one whole print-button export through a real hidden LibreOffice:
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

void keyFullBill(BillSheet& sheet) {
    connectZeroBlanking(sheet);
    for (int i = 0; i < kLineRows; ++i) {
        sheet.set(Field::Text1, i, u"4.2");
        sheet.set(Field::Text2, i, u"150");
        sheet.set(Field::Text3, i, u"25");
        sheet.set(Field::Text4, i, std::u16string(1, static_cast<char16_t>(u'1' + i)));
        sheet.set(Field::Text6, i, u"1250.5");
    }
    sheet.set(Field::Text10, 0, u"林场");
    Timer1_Timer(sheet);
}

bool exportOnce(const BillSheet& sheet, const std::string& workbook, const std::string& cache) {
    LibreOfficeOptions options;
    options.cacheRoot = cache;
    options.displayCommand = {"/bin/true"};
    LibreOfficeSpreadsheet office(options);
    ExportCounter counter = 1;  // no reminder
    return !Command4_Click(sheet, counter, {office, workbook, {}}).has_value();
}

void BM_ExportCold(benchmark::State& state) {
    Scratch scratch;
    BillSheet sheet;
    keyFullBill(sheet);
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
    keyFullBill(sheet);
    const std::string cache = scratch.path + "/cache";
    if (!exportOnce(sheet, scratch.workbook, cache)) state.SkipWithError("first export failed");
    for (auto _ : state)
        if (!exportOnce(sheet, scratch.workbook, cache)) state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
