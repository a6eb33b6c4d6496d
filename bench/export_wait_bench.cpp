// What the operator waits for after a click on the export button, from the
// click to the bill's Calc window on screen, phase by phase: through the real
// window and the real offices, the first export of a run and the later ones,
// with the operator's Calc closed before each export and already running. Each
// run is a process of its own (as each start of the program is), in a private
// home that the benchmark makes, so neither the operator's nor anybody else's
// profile is touched. Needs an X display (bench/export_wait.sh gives one).
//   export_wait_bench [--runs N] [--exports N] [benchmark flags]
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/export_phases.h"
#include "bench/export_run.h"

namespace {

using namespace cubrix::bench;
namespace fs = std::filesystem;

using Export = std::map<std::string, double>;  // milestone → ms since the click

int gRuns = 3;
int gExports = 3;

std::string selfPath() {
    return fs::read_symlink("/proc/self/exe").string();
}

// A private home with the bill workbook where the program looks for it.
void makeHome() {
    std::string pattern = (fs::temp_directory_path() / "cubrix-export-bench-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    const std::string home = root + "/home";
    fs::create_directories(home + "/Documents");
    fs::create_directories(root + "/runtime");
    fs::permissions(root + "/runtime", fs::perms::owner_all);
    fs::copy_file(CUBRIX_WORKBOOK_TEMPLATE, home + "/Documents/Tarnel账单.xls");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
    std::atexit([] { fs::remove_all(fs::path(std::getenv("HOME")).parent_path()); });
}

// One run in a process of its own; its exports, in order.
std::vector<Export> run(const std::string& scenario, int exports) {
    const std::string command =
        selfPath() + " --export-run " + scenario + " " + std::to_string(exports) + " 2>/dev/null";
    std::vector<Export> out(exports);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        std::istringstream in(line);
        int exportIndex = 0;
        std::string name;
        double ms = 0;
        if (in >> exportIndex >> name >> ms && exportIndex >= 0 && exportIndex < exports)
            out[exportIndex][name] = ms;
    }
    pclose(pipe);
    return out;
}

// The exports of every run of a scenario: the first of each run, the others.
struct Samples {
    std::vector<Export> first, later;
};

const Samples& samples(const std::string& scenario) {
    static std::map<std::string, Samples> cache;
    if (auto it = cache.find(scenario); it != cache.end()) return it->second;
    Samples& s = cache[scenario];
    for (int r = 0; r < gRuns; ++r) {
        const auto exports = run(scenario, gExports);
        for (std::size_t i = 0; i < exports.size(); ++i)
            (i == 0 ? s.first : s.later).push_back(exports[i]);
    }
    return s;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double loadAverage() {
    std::ifstream in("/proc/loadavg");
    double one = 0;
    in >> one;
    return one;
}

void BM_Export(benchmark::State& state, const std::string& scenario, bool first) {
    const Samples& s = samples(scenario);
    const std::vector<Export>& exports = first ? s.first : s.later;
    std::vector<Export> whole;
    for (const Export& p : exports) {
        if (p.count(std::string(kMilestones.back()))) whole.push_back(p);
        if (p.count(std::string(kFirstWindow)) &&
            p.at(std::string(kFirstWindow)) < p.at(std::string(kMilestones[4])) - 0.05)
            state.SkipWithError("a LibreOffice window was shown before the hidden office ended");
        if (p.count(std::string(kVisibleOffices)) &&
            (p.at(std::string(kVisibleOffices)) != 1 || p.at(std::string(kHiddenOffices)) != 0))
            state.SkipWithError("not one visible office and no hidden one with the bill up");
    }
    if (whole.size() != exports.size() || whole.empty()) {
        state.SkipWithError("an export did not bring up the bill");
        for (auto _ : state) {
        }
        return;
    }
    // Each phase on its own: the median of its own durations.
    for (std::size_t m = 0; m < kMilestones.size(); ++m) {
        std::vector<double> took;
        for (const Export& p : whole) {
            const double end = p.at(std::string(kMilestones[m]));
            const double begin = m == 0 ? 0 : p.at(std::string(kMilestones[m - 1]));
            took.push_back(end - begin);
        }
        state.counters[std::to_string(m + 1) + "_" + std::string(kMilestones[m])] = median(took);
    }
    std::vector<double> total, busy;
    for (const Export& p : whole) {
        total.push_back(p.at(std::string(kMilestones.back())));
        busy.push_back(p.count(std::string(kBusyEnded)) ? p.at(std::string(kBusyEnded)) : 0);
    }
    state.counters["busy_ms"] = median(busy);
    state.counters["exports"] = static_cast<double>(whole.size());
    state.counters["load1"] = loadAverage();
    for (auto _ : state) state.SetIterationTime(median(total) / 1000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--export-run") == 0)
        return exportRun(1, argv, argv[2], std::atoi(argv[3]));
    std::vector<char*> rest = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (i + 1 < argc && std::strcmp(argv[i], "--runs") == 0)
            gRuns = std::max(1, std::atoi(argv[++i]));
        else if (i + 1 < argc && std::strcmp(argv[i], "--exports") == 0)
            gExports = std::max(2, std::atoi(argv[++i]));
        else
            rest.push_back(argv[i]);
    }
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "no X display: run bench/export_wait.sh\n");
        return 2;
    }
    makeHome();
    run("closed", 1);  // makes both profiles once, as a machine in use has them
    for (const char* scenario : {"closed", "running"})
        for (const bool first : {true, false})
            benchmark::RegisterBenchmark(
                (std::string("BM_Export/calc_") + scenario + (first ? "/first" : "/later")).c_str(),
                [scenario = std::string(scenario), first](benchmark::State& s) {
                    BM_Export(s, scenario, first);
                })
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
