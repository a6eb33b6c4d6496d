#include "platform/libreoffice/libreoffice_spreadsheet.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "export/workbook_file.h"
#include "platform/common/call_watchdog.h"
#include "platform/libreoffice/file_url.h"
#include "platform/libreoffice/lock_file.h"
#include "platform/libreoffice/office_process.h"
#include "platform/libreoffice/office_profile.h"
#include "platform/libreoffice/running_offices.h"
#include "platform/libreoffice/uno_session.h"

namespace cubrix {

using lo::fail;

namespace {

constexpr auto kConnectRetry = std::chrono::milliseconds(100);
// soffice.bin's exit codes that ask for a new start (a new profile's first
// start ends with one); soffice's own launcher would start it again.
constexpr int kRestartCodes[] = {79, 81};
constexpr int kMostRestarts = 2;
// The office reads a Chinese file name only under a UTF-8 locale.
constexpr const char* kOfficeLocale = "LC_ALL=C.UTF-8";

std::string uniquePipeName() {
    static std::atomic<int> serial{0};
    return "cubrix-office-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
}

// Writable as far as the operator is concerned: a root process may write any
// file, but a file or folder without write bits was made read-only on purpose.
bool writable(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 &&
           access(path.c_str(), W_OK) == 0;
}

bool isUtf8Locale(const char* value) {
    if (!value || !*value) return false;
    const std::string v(value);
    return v.find("UTF-8") != std::string::npos || v.find("utf8") != std::string::npos ||
           v.find("UTF8") != std::string::npos || v.find("utf-8") != std::string::npos;
}

// soffice is a script that starts a launcher (which first looks for Java),
// which starts soffice.bin: the hidden office starts soffice.bin beside the
// script at once, with the file locking the script turns on.
std::string officeBinary(const std::string& program) {
    const std::string binary = lo::findProgram(program + ".bin");
    return binary.empty() ? lo::findProgram(program) : binary;
}
constexpr const char* kFileLocking = "SAL_ENABLE_FILE_LOCKING=1";

bool asksForRestart(int exitCode) {
    return std::find(std::begin(kRestartCodes), std::end(kRestartCodes), exitCode) !=
           std::end(kRestartCodes);
}

// The operator's environment for the visible office, with a UTF-8 character
// set where it lacks one (the UI language, from LANG, stays as it is).
std::vector<std::string> displayEnvironment() {
    const char* all = std::getenv("LC_ALL");
    const char* ctype = std::getenv("LC_CTYPE");
    const char* lang = std::getenv("LANG");
    const char* effective = (all && *all) ? all : (ctype && *ctype) ? ctype : lang;
    if (isUtf8Locale(effective)) return lo::childEnvironment({}, {});
    return lo::childEnvironment({"LC_CTYPE=C.UTF-8"}, {"LC_ALL"});
}

// Where the office makes the socket of a named pipe; an office that was
// killed leaves it behind.
std::string pipeSocketPath(const std::string& pipeName) {
    return "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + pipeName;
}

std::string getenvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string errnoText(const char* what, int err) {
    return std::string(what) + ": " + std::strerror(err);
}

}  // namespace

LibreOfficeSpreadsheet::LibreOfficeSpreadsheet(LibreOfficeOptions options)
    : options_(std::move(options)),
      office_(std::make_unique<lo::ProcessGroup>()),
      standby_(std::make_unique<lo::ProcessGroup>()),
      profile_(std::make_unique<lo::OfficeProfile>(options_.cacheRoot)),
      session_(std::make_unique<lo::UnoSession>()),
      // Only a signal from the watchdog's thread: the reaping stays on ours.
      watchdog_(std::make_unique<common::CallWatchdog>([this] { office_->signal(SIGKILL); })) {}

LibreOfficeSpreadsheet::~LibreOfficeSpreadsheet() {
    handOver_ = false;  // a standby never shown is not left behind
    release();
}

int LibreOfficeSpreadsheet::officeProcessGroup() const {
    return working_ ? office_->id() : 0;
}

template <typename Call>
void LibreOfficeSpreadsheet::bounded(const char* step, std::chrono::milliseconds limit,
                                     Call&& call) {
    bool overran = false;
    try {
        common::CallWatchdog::Guard guard(*watchdog_, limit);
        call();
    } catch (const SpreadsheetFailure&) {
        overran = watchdog_->fired();
        if (!overran) throw;
    } catch (...) {
        // Whatever else a dying office throws (UNO's exceptions are no
        // std::exception) ends here as this step's failure.
        overran = watchdog_->fired();
        if (!overran)
            fail(SpreadsheetError::Other, lo::kCallFailed,
                 std::string(step) + ": unexpected failure");
    }
    if (overran || watchdog_->fired()) {
        endOffice();
        fail(SpreadsheetError::TimedOut, lo::kCallOverran,
             std::string(step) + ": no answer within " + std::to_string(limit.count()) + " ms");
    }
}

void LibreOfficeSpreadsheet::requireWork(const char* step) const {
    if (!working_ || office_->id() == 0)
        fail(SpreadsheetError::Other, lo::kOutOfOrder, std::string(step) + " without an office");
}

void LibreOfficeSpreadsheet::createInstance(InstanceUse use) {
    if (use == InstanceUse::Work) handOver_ = false;
    release();  // one instance at a time; a standby stays only for the Display
    handOver_ = false;
    if (lo::findProgram(options_.program).empty())
        fail(SpreadsheetError::CannotStart, lo::kNoProgram,
             "no office program " + options_.program);
    if (use == InstanceUse::Display) {
        displaying_ = true;
        return;
    }
    startStandby();
    startOffice();
}

void LibreOfficeSpreadsheet::startStandby() {
    std::vector<std::string> argv = options_.standbyCommand;
    if (argv.empty()) {
        if (!options_.displayCommand.empty()) return;
        argv = {options_.program, "--nologo", "--nodefault", "--norestore"};
    }
    const std::string profile =
        !options_.operatorProfile.empty()
            ? options_.operatorProfile
            : lo::profileOfOffice({}, getenvOrEmpty("HOME"), getenvOrEmpty("XDG_CONFIG_HOME"));
    // The operator's Calc is running already: show() hands it the workbook.
    if (lo::officeUsesProfile(profile)) return;
    argv[0] = lo::findProgram(argv[0]);
    pid_t pid = 0;
    // One that cannot start is no failure yet: show() starts the office anew.
    if (!argv[0].empty() && lo::launchDetached(argv, displayEnvironment(), &pid) == 0 && pid > 0)
        standby_->adopt(pid);
}

void LibreOfficeSpreadsheet::endStandby() noexcept {
    if (standby_->id() == 0) return;
    standby_->signal(SIGTERM);
    if (!standby_->waitGone(options_.endGrace)) standby_->kill();
    standby_->forget();
}

void LibreOfficeSpreadsheet::startOffice() {
    if (!profile_->acquire())
        fail(SpreadsheetError::CannotStart, lo::kNoProfile, "cannot make " + profile_->folder());
    working_ = true;
    watchdog_->reset();
    pipe_ = uniquePipeName();
    const std::string& pipe = pipe_;
    const std::vector<std::string> argv = {
        officeBinary(options_.program),
        "--headless",
        "--invisible",
        "--nologo",
        "--nodefault",
        "--norestore",
        "--nolockcheck",
        "--accept=pipe,name=" + pipe + ";urp;StarOffice.ComponentContext",
        "-env:UserInstallation=" + profile_->url(),
    };
    const auto environment = lo::childEnvironment({kOfficeLocale, kFileLocking}, {});
    if (const int err = office_->start(argv, environment)) {
        endOffice();
        fail(SpreadsheetError::CannotStart, lo::kSpawnFailed, errnoText("spawn soffice", err));
    }
    int restarts = 0;

    const auto deadline = std::chrono::steady_clock::now() + options_.startLimit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        bool connected = false;
        try {
            common::CallWatchdog::Guard guard(*watchdog_, left);
            connected = session_->connect(pipe);
        } catch (const SpreadsheetFailure&) {
            if (!watchdog_->fired()) {
                endOffice();
                throw;
            }
        }
        if (watchdog_->fired()) break;
        if (connected) return;
        if (!office_->leaderAlive() && asksForRestart(office_->exitCode()) &&
            restarts++ < kMostRestarts && office_->waitGone(options_.endGrace) &&
            office_->start(argv, environment) == 0)
            continue;
        if (!office_->leaderAlive()) {
            endOffice();
            fail(SpreadsheetError::CannotStart, lo::kEndedAtStart, "soffice ended at start");
        }
        std::this_thread::sleep_for(kConnectRetry);
    }
    endOffice();
    fail(SpreadsheetError::CannotStart, lo::kNoAnswer,
         "soffice did not answer within " + std::to_string(options_.startLimit.count()) + " ms");
}

void LibreOfficeSpreadsheet::openWorkbook(const std::string& path) {
    if (!working_ && !displaying_)
        fail(SpreadsheetError::Other, lo::kOutOfOrder, "open without an instance");
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        fail(SpreadsheetError::FileMissing, displaying_ ? lo::kUnreadableWorkbook : lo::kNoWorkbook,
             errnoText("workbook", stat(path.c_str(), &st) != 0 ? errno : EISDIR));
    workbook_ = path;
    if (displaying_) {
        if (access(path.c_str(), R_OK) != 0)
            fail(SpreadsheetError::FileMissing, lo::kUnreadableWorkbook,
                 errnoText("workbook", errno));
        return;
    }
    const std::string folder = std::filesystem::absolute(path).parent_path().string();
    if (!writable(path) || !writable(folder))
        fail(SpreadsheetError::WorkbookLocked, lo::kReadOnly, "workbook or its folder read-only");
    // The office opens an empty file as an empty workbook without a word.
    if (inspectWorkbook(path) == WorkbookContent::Empty)
        fail(SpreadsheetError::Damaged, lo::kEmptyWorkbook, "workbook: 0 bytes");
    lo::removeLockOf(path, profile_->folder());  // left by an office of ours that was killed
    // Left by a Calc that crashed or was killed: no running office has the
    // workbook open, though the Calc waiting to show the bill may run on the
    // lock's profile.
    lo::removeStaleLock(path, lo::hostName(), [&](const std::string& profile) {
        return lo::officeMayHoldFile(path, profile);
    });
    const std::string url = lo::fileUrl(path);
    try {
        bounded("open", options_.callLimit, [&] { session_->load(url); });
    } catch (const SpreadsheetFailure& f) {
        // A load the office refused is the file's fault when the file is
        // none of the kinds a workbook can be.
        if (f.number() == lo::kLoadFailed && inspectWorkbook(path) == WorkbookContent::NotAWorkbook)
            fail(SpreadsheetError::Damaged, lo::kUnreadableAsXls, f.what());
        throw;
    }
}

void LibreOfficeSpreadsheet::selectSheet(std::u16string_view name) {
    requireWork("sheet");
    bounded("sheet", options_.callLimit, [&] { session_->selectSheet(name); });
}

void LibreOfficeSpreadsheet::setCell(int row, int column, const CellValue& value) {
    requireWork("cell");
    bounded("cell", options_.callLimit, [&] {
        if (const double* number = std::get_if<double>(&value))
            session_->setValue(row, column, *number);
        else
            session_->setText(row, column, std::get<std::u16string>(value));
    });
}

void LibreOfficeSpreadsheet::save() {
    requireWork("save");
    try {
        bounded("save", options_.callLimit, [&] { session_->store(); });
    } catch (const SpreadsheetFailure& f) {
        // Whatever the office calls a full disk, the disk itself says so.
        const int n = f.number();
        if ((n == lo::kStoreFailed || n == lo::kStoreRefused) && !roomToSave(workbook_))
            fail(SpreadsheetError::NoRoom, lo::kNoRoomToStore, f.what());
        throw;
    }
}

void LibreOfficeSpreadsheet::closeAll() {
    if (!working_) return;  // the shown workbook is the operator's
    bounded("close", options_.callLimit, [&] { session_->closeDocuments(); });
}

void LibreOfficeSpreadsheet::quit() {
    if (!working_) return;
    requireWork("quit");
    bounded("quit", options_.callLimit, [&] { session_->terminate(); });
    session_->drop();
    if (!office_->waitGone(options_.callLimit)) {
        endOffice();
        fail(SpreadsheetError::TimedOut, lo::kQuitOverran, "soffice still running after terminate");
    }
    endOffice();
    handOver_ = true;
}

void LibreOfficeSpreadsheet::show() {
    if (!displaying_ || workbook_.empty())
        fail(SpreadsheetError::Other, lo::kOutOfOrder, "show without a workbook");
    std::vector<std::string> argv = options_.displayCommand;
    if (argv.empty()) argv = {options_.program, "--calc", "--norestore"};
    const std::string program = lo::findProgram(argv[0]);
    if (program.empty())
        fail(SpreadsheetError::CannotStart, lo::kLaunchFailed, "no program " + argv[0]);
    argv[0] = program;
    argv.push_back(std::filesystem::absolute(workbook_).string());
    if (const int err = lo::launchDetached(argv, displayEnvironment()))
        fail(SpreadsheetError::CannotStart, lo::kLaunchFailed, errnoText("launch", err));
    standby_->forget();  // it has the bill now: the operator's
}

void LibreOfficeSpreadsheet::endOffice() noexcept {
    try {
        session_->drop();
        if (office_->id() != 0) {
            office_->kill();
            if (!pipe_.empty()) unlink(pipeSocketPath(pipe_).c_str());
        }
        pipe_.clear();
        if (!workbook_.empty() && !profile_->folder().empty())
            lo::removeLockOf(workbook_, profile_->folder());
        profile_->release();
    } catch (...) {
    }
    working_ = false;
}

void LibreOfficeSpreadsheet::release() noexcept {
    try {
        if (working_ && office_->id() != 0 && !watchdog_->fired()) {
            // Abandoned mid-way: nothing is saved, the office is asked to end
            // and killed if it does not within the grace period.
            try {
                common::CallWatchdog::Guard guard(*watchdog_, options_.endGrace);
                session_->closeDocuments();
                session_->terminate();
            } catch (...) {
            }
            session_->drop();
            office_->waitGone(options_.endGrace);
        }
        endOffice();
        watchdog_->reset();
        if (!handOver_) endStandby();
    } catch (...) {
    }
    displaying_ = false;
    workbook_.clear();
}

}  // namespace cubrix
