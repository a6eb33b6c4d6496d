// One run of the program as the operator has it: the real window with the
// real LibreOffice backend, the worked example keyed in and exported a few
// times in a row. Each export's milestones (export_phases.h) go to standard
// output. After an export the bill is closed the way the scenario wants it:
// "closed" ends the operator's Calc, "running" closes only the bill and
// leaves Calc on its Start Center for the next export.
#include "bench/export_run.h"

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "app/application_setup.h"
#include "app/form1.h"
#include "bench/export_phases.h"
#include "export/cell_map.h"
#include "platform/libreoffice/libreoffice_spreadsheet.h"
#include "platform/libreoffice/office_process.h"
#include "platform/qt/workbook_path.h"
#include "tools/sheet-probe/probe_case.h"

namespace cubrix::bench {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr auto kBillWait = std::chrono::seconds(60);
constexpr auto kPoll = std::chrono::milliseconds(10);

// Milliseconds since the click, less the time the reminder stood.
class Stamps {
public:
    void start() {
        std::lock_guard lock(mutex_);
        click_ = Clock::now();
        paused_ = {};
        at_.clear();
    }
    void pauseFor(Clock::duration d) {
        std::lock_guard lock(mutex_);
        paused_ += d;
    }
    void mark(std::string_view name) {
        std::lock_guard lock(mutex_);
        if (at_.count(std::string(name))) return;
        at_[std::string(name)] =
            std::chrono::duration<double, std::milli>(Clock::now() - click_ - paused_).count();
    }
    bool has(std::string_view name) {
        std::lock_guard lock(mutex_);
        return at_.count(std::string(name)) != 0;
    }
    std::map<std::string, double> all() {
        std::lock_guard lock(mutex_);
        return at_;
    }

private:
    std::mutex mutex_;
    Clock::time_point click_;
    Clock::duration paused_{};
    std::map<std::string, double> at_;
};

// The backend as the program has it, with a mark after each step.
class TimedSpreadsheet : public Spreadsheet {
public:
    explicit TimedSpreadsheet(Stamps& stamps) : stamps_(stamps) {}
    void createInstance(InstanceUse use) override {
        display_ = use == InstanceUse::Display;
        cells_ = 0;
        real_.createInstance(use);
        if (!display_) stamps_.mark(kMilestones[0]);
    }
    void openWorkbook(const std::string& path) override {
        real_.openWorkbook(path);
        if (!display_) stamps_.mark(kMilestones[1]);
    }
    void selectSheet(std::u16string_view name) override { real_.selectSheet(name); }
    void setCell(int row, int column, const CellValue& value) override {
        real_.setCell(row, column, value);
        if (++cells_ == kMappedCells) stamps_.mark(kMilestones[2]);
    }
    void save() override {
        real_.save();
        stamps_.mark(kMilestones[3]);
    }
    void closeAll() override { real_.closeAll(); }
    void quit() override {
        real_.quit();
        stamps_.mark(kMilestones[4]);
    }
    void show() override {
        real_.show();
        stamps_.mark(kMilestones[5]);
    }
    void release() noexcept override { real_.release(); }

private:
    LibreOfficeSpreadsheet real_;
    Stamps& stamps_;
    bool display_ = false;
    int cells_ = 0;
};

std::set<std::string> windowsNamed(const char* pattern) {
    std::set<std::string> ids;
    const std::string command =
        std::string("xdotool search --onlyvisible --name '") + pattern + "' 2>/dev/null";
    if (FILE* out = popen(command.c_str(), "r")) {
        char line[64];
        while (std::fgets(line, sizeof line, out)) ids.insert(line);
        pclose(out);
    }
    return ids;
}

// Watches the X screen from the click on: the first new LibreOffice window
// of any kind, and the bill's.
class WindowWatch {
public:
    WindowWatch(Stamps& stamps) : stamps_(stamps), before_(windowsNamed(kAnyOffice)) {
        thread_ = std::thread([this] {
            while (!stop_) {
                for (const auto& id : windowsNamed(kAnyOffice))
                    if (!before_.count(id)) stamps_.mark(kFirstWindow);
                if (!windowsNamed(kBill).empty()) stamps_.mark(kMilestones[6]);
                std::this_thread::sleep_for(kPoll);
            }
        });
    }
    ~WindowWatch() {
        stop_ = true;
        thread_.join();
    }

    static constexpr const char* kBill = "^Tarnel";
    static constexpr const char* kAnyOffice = "LibreOffice|^Tarnel";

private:
    Stamps& stamps_;
    std::set<std::string> before_;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

// The offices started under this run's home: the bench made that home, so
// they are all its own. `headless` counts only soffice.bin with (true) or
// without (false) --headless.
std::vector<pid_t> officesOfThisHome(std::optional<bool> headless = std::nullopt) {
    const std::string home = std::string("HOME=") + std::getenv("HOME");
    std::vector<pid_t> pids;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = std::stoi(name);
        if (pid == getpid()) continue;
        std::ifstream cmd(entry.path() / "cmdline");
        std::vector<std::string> args;
        for (std::string arg; std::getline(cmd, arg, '\0');) args.push_back(arg);
        if (args.empty()) continue;
        const auto program = fs::path(args[0]).filename().string();
        if (program != "soffice.bin" && program != "oosplash") continue;
        if (headless &&
            (program != "soffice.bin" ||
             (std::find(args.begin(), args.end(), "--headless") != args.end()) != *headless))
            continue;
        std::ifstream env(entry.path() / "environ");
        for (std::string var; std::getline(env, var, '\0');)
            if (var == home) pids.push_back(pid);
    }
    return pids;
}

void endOffices(const std::string& workbook) {
    for (pid_t pid : officesOfThisHome()) kill(pid, SIGTERM);
    if (!waitFor([] { return officesOfThisHome().empty(); }, std::chrono::seconds(10)))
        for (pid_t pid : officesOfThisHome()) kill(pid, SIGKILL);
    waitFor([] { return officesOfThisHome().empty(); }, std::chrono::seconds(5));
    const fs::path book(workbook);
    std::error_code ec;
    fs::remove(book.parent_path() / (".~lock." + book.filename().string() + "#"), ec);
}

bool startCenterUp() {
    return !windowsNamed("^LibreOffice$").empty();
}

// The operator's Calc on its Start Center, as after closing every workbook.
bool ensureStartCenter() {
    if (startCenterUp()) return true;
    lo::launchDetached({std::string(lo::kOfficeProgramDir) + "/soffice", "--norestore"},
                       lo::childEnvironment({}, {}));
    if (!waitFor(startCenterUp, std::chrono::seconds(60))) return false;
    QTest::qWait(1000);  // let it settle, as a Calc started a while ago would be
    return true;
}

bool closeBill() {
    const auto bills = windowsNamed(WindowWatch::kBill);
    if (bills.empty()) return true;
    const std::string id = *bills.begin();
    const std::string command = "xdotool windowfocus --sync " + id.substr(0, id.size() - 1) +
                                " 2>/dev/null && xdotool key ctrl+w";
    if (std::system(command.c_str()) != 0) return false;
    return waitFor([] { return windowsNamed(WindowWatch::kBill).empty(); },
                   std::chrono::seconds(10));
}

void keyWorkedExample(Form1& form) {
    for (const auto& [field, keys] : probe::readCase("worked_example.in")) {
        if (!isLineColumn(field.field)) continue;
        QWidget* box = form.control(QString::fromStdString(fieldName(field)));
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(box, QString::fromStdU16String(keys));
    }
    QTest::qWait(100);  // a few recalculation ticks
}

}  // namespace

int exportRun(int argc, char** argv, const std::string& scenario, int exports) {
    const auto app = makeApplication(argc, argv);
    Stamps stamps;
    Form1 form({std::make_unique<TimedSpreadsheet>(stamps), {}, workbookPath()});
    const std::string workbook = workbookPath().toStdString();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 2;
    keyWorkedExample(form);

    // The reminder and any failure message are answered as they come.
    QTimer answer;
    answer.callOnTimeout([&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            const auto shown = Clock::now();
            box->close();
            stamps.pauseFor(Clock::now() - shown + kPoll);
        }
    });
    answer.start(kPoll);

    const bool running = scenario == "running";
    for (int exportIndex = 0; exportIndex < exports; ++exportIndex) {
        if (running ? !ensureStartCenter() : !officesOfThisHome().empty()) return 3;
        // The focus back on the window, as the operator's click on it gives it.
        const std::string focus = "xdotool windowfocus --sync " + std::to_string(form.winId());
        if (std::system(focus.c_str()) != 0 || !QTest::qWaitForWindowActive(&form)) return 4;
        {
            WindowWatch watch(stamps);
            stamps.start();
            QTest::mouseClick(form.control("Command4"), Qt::LeftButton);
            waitFor(
                [&] {
                    if (!QApplication::overrideCursor()) stamps.mark(kBusyEnded);
                    return stamps.has(kMilestones[6]) && stamps.has(kBusyEnded);
                },
                std::chrono::duration_cast<std::chrono::seconds>(kBillWait));
        }
        for (const auto& [name, ms] : stamps.all())
            std::printf("%d %s %.1f\n", exportIndex, name.c_str(), ms);
        std::printf("%d %s %zu\n%d %s %zu\n", exportIndex, std::string(kVisibleOffices).c_str(),
                    officesOfThisHome(false).size(), exportIndex,
                    std::string(kHiddenOffices).c_str(), officesOfThisHome(true).size());
        std::fflush(stdout);
        if (!running || !closeBill()) endOffices(workbook);
    }
    endOffices(workbook);
    return 0;
}

}  // namespace cubrix::bench
