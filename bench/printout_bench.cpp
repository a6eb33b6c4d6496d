// The bill on paper without an office, from the real window: Ctrl+P until the
// print preview is on screen with its page drawn (the first of a run, which
// builds the dialog, and a later one), Ctrl+S until the PDF is
// written, Ctrl+Shift+C until the picture is on the clipboard and encoded as
// PNG. Beside them, in the same run, one hidden export through LibreOffice
// (warm profile), the least the office path costs before Calc even shows.
// Run on an X server: tools/xvfb.sh build/bench/printout_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "app/application_setup.h"
#include "app/form1.h"
#include "bill/recalculation.h"
#include "bill/zero_blanking.h"
#include "export/bill_export.h"
#include "full_bill.h"
#include "platform/libreoffice/libreoffice_spreadsheet.h"

namespace {

using namespace cubrix;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// The window needs a spreadsheet; these benchmarks never export through it.
class NoSpreadsheet : public Spreadsheet {
    void createInstance(InstanceUse) override {}
    void openWorkbook(const std::string&) override {}
    void selectSheet(std::u16string_view) override {}
    void setCell(int, int, const CellValue&) override {}
    void save() override {}
    void closeAll() override {}
    void quit() override {}
    void show() override {}
    void release() noexcept override {}
};

struct Scratch {
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "cubrix-printout-bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~Scratch() { fs::remove_all(path); }
    std::string path;
};

// A shown window with an eight-line bill.
std::unique_ptr<Form1> billWindow() {
    auto form = std::make_unique<Form1>(
        FormServices{std::make_unique<NoSpreadsheet>(), {}, QStringLiteral("/tmp/unused.xls")});
    bench::keyFullBill(form->sheet());
    form->sheet().set(Field::Text10, 0, u"建阳区鑫源木业有限公司");
    form->show();
    form->activateWindow();
    // Without a window manager the window may never count as active; the
    // keys go to the box itself either way.
    (void)QTest::qWaitForWindowActive(form.get());
    QTest::qWait(50);  // the pass has run and the boxes show the figures
    return form;
}

void press(Form1& form, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(form.control("Text1(0)"), key, modifiers);
}

// The keys go to the window; a dialog closed just before leaves it
// inactive where no window manager gives the focus back.
void backToTheWindow(Form1& form) {
    form.activateWindow();
    (void)QTest::qWaitForWindowActive(&form);
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Ctrl+P until the preview is on screen with the page drawn in it; the
// seconds, or -1 when no preview opened.
double previewOnScreen(Form1& form) {
    Clock::time_point start;
    double seconds = -1;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        if (!preview || preview->pageCount() < 1) return;
        QApplication::processEvents();  // the page painted in the view
        seconds = secondsSince(start);
        watch.stop();
        dialog->reject();
    });
    backToTheWindow(form);
    watch.start();
    start = Clock::now();
    press(form, Qt::Key_P, Qt::ControlModifier);
    return seconds;
}

// The first preview of a run builds the dialog.
void BM_FirstPreviewOnScreen(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const auto form = billWindow();
        state.ResumeTiming();
        const double seconds = previewOnScreen(*form);
        if (seconds < 0) {
            state.SkipWithError("no preview opened");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_FirstPreviewOnScreen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Every later one shows the same dialog again with the bill as it stands.
void BM_PreviewOnScreen(benchmark::State& state) {
    const auto form = billWindow();
    previewOnScreen(*form);
    for (auto _ : state) {
        const double seconds = previewOnScreen(*form);
        if (seconds < 0) {
            state.SkipWithError("no preview opened");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_PreviewOnScreen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_PdfWritten(benchmark::State& state) {
    Scratch scratch;
    const auto form = billWindow();
    const QString path = QString::fromStdString(scratch.path + "/bill.pdf");
    form->printoutDesk().askPdfPath = [&path](QWidget*, const QString&) { return path; };
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(path.toStdString());
        state.ResumeTiming();
        press(*form, Qt::Key_S, Qt::ControlModifier);
        if (!fs::exists(path.toStdString())) state.SkipWithError("no PDF written");
    }
}
BENCHMARK(BM_PdfWritten)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_PictureOnClipboard(benchmark::State& state) {
    const auto form = billWindow();
    for (auto _ : state) {
        state.PauseTiming();
        QGuiApplication::clipboard()->clear();
        state.ResumeTiming();
        press(*form, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        // What a chat program asks for.
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || data->data(QStringLiteral("image/png")).isEmpty())
            state.SkipWithError("no PNG on the clipboard");
    }
}
BENCHMARK(BM_PictureOnClipboard)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The office path: one whole hidden export (start, open, 65 cells, save,
// quit) with a warm profile; Calc's own window would come on top of this.
void BM_OfficeExportWarm(benchmark::State& state) {
    Scratch scratch;
    const std::string workbook = scratch.path + "/Tarnel账单.xls";
    fs::copy_file(CUBRIX_WORKBOOK_TEMPLATE, workbook);
    BillSheet sheet;
    connectZeroBlanking(sheet);
    bench::keyFullBill(sheet);
    Timer1_Timer(sheet);
    LibreOfficeOptions options;
    options.cacheRoot = scratch.path + "/cache";
    options.displayCommand = {"/bin/true"};
    auto once = [&] {
        LibreOfficeSpreadsheet office(options);
        ExportCounter counter = 1;  // no reminder
        return !Command4_Click(sheet, counter, {office, workbook, {}}).has_value();
    };
    if (!once()) state.SkipWithError("first export failed");
    for (auto _ : state)
        if (!once()) state.SkipWithError("export failed");
}
BENCHMARK(BM_OfficeExportWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    const auto app = cubrix::makeApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
