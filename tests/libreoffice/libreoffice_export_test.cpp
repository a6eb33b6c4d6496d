// The bill export through a real hidden LibreOffice, read back from the saved
// workbook, and the failures an operator can run into.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "bill/recalculation.h"
#include "bill/utf8.h"
#include "bill/zero_blanking.h"
#include "export/bill_export.h"
#include "export/cell_map.h"
#include "office_test_support.h"
#include "platform/libreoffice/libreoffice_spreadsheet.h"
#include "platform/libreoffice/proc_file.h"
#include "platform/libreoffice/running_offices.h"
#include "platform/libreoffice/uno_session.h"
#include "tests/export/fake_spreadsheet.h"

namespace cubrix {
namespace {

namespace fs = std::filesystem;
using testing::ReadSheet;
using Clock = std::chrono::steady_clock;

// Only a failing test waits this long: a busy machine may start the
// recorder late.
constexpr auto kShowWait = std::chrono::seconds(30);

std::vector<std::string> environment() {
    std::vector<std::string> entries;
    for (char** e = environ; e && *e; ++e) entries.emplace_back(*e);
    return entries;
}

// As the test program started, before any office was driven from it.
const std::vector<std::string> kStartEnvironment = environment();

// A bill with every line row used and party texts that must stay literal.
void fillBill(BillSheet& sheet) {
    connectZeroBlanking(sheet);
    const char16_t* lengths[] = {u"4.2", u"6", u"3.5", u"2", u"4", u"5.5", u"1.2", u"3"};
    for (int i = 0; i < kLineRows; ++i) {
        sheet.set(Field::Text1, i, lengths[i]);
        sheet.set(Field::Text2, i, std::u16string(u"15") + char16_t(u'0' + i));
        sheet.set(Field::Text3, i, u"25");
        sheet.set(Field::Text4, i, std::u16string(1, char16_t(u'1' + i)));
        sheet.set(Field::Text6, i, u"1000");
    }
    sheet.set(Field::Text10, 0, u"=HYPERLINK(\"x\"),\"引号\"");
    sheet.set(Field::Text11, 0, u"13800138000");
    sheet.set(Field::Text12, 0, u"6222021234567890123");
    sheet.set(Field::Text13, 0, u"林场 007");
    sheet.set(Field::Text14, 0, u"王师傅");
    sheet.set(Field::Combo1, 0, u"电话");
    Timer1_Timer(sheet);
}

// What a cell shows in the template's format: volumes and the total volume
// with four decimals, line amounts and the total amount with two, the rest
// General.
std::string shownAs(const CellValue& value, int row, int column) {
    if (const auto* text = std::get_if<std::u16string>(&value)) return toUtf8(*text);
    const double v = std::get<double>(value);
    const char* format = "%.15g";
    if (column == 5 && row >= kFirstLineSheetRow)
        format = "%.4f";
    else if ((column == 7 && row < 13) || (row == 13 && column == 6))
        format = "%.2f";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

class LibreOfficeExport : public ::testing::Test {
protected:
    LibreOfficeExport() {
        fillBill(sheet);
        workbook = testing::copyTemplate(scratch.path());
        options.cacheRoot = scratch.path() + "/cache";
        options.displayCommand = {testing::writeDisplayRecorder(scratch.path())};
        options.standbyCommand = {testing::writeStandbyStandIn(scratch.path())};
        options.operatorProfile = scratch.path() + "/operator-profile";
    }

    ~LibreOfficeExport() override {
        EXPECT_TRUE(testing::processesMentioning(options.cacheRoot).empty())
            << "an office was left running";
        for (int pid : standbys()) kill(pid, SIGKILL);  // left to the operator
    }

    std::vector<int> standbys() const {
        return testing::processesMentioning(options.standbyCommand[0]);
    }

    std::optional<Failure> exportTo(const std::string& path, Spreadsheet* through = nullptr) {
        LibreOfficeSpreadsheet office(options);
        return Command4_Click(sheet, counter, {{through ? *through : office, path}, {}});
    }

    // The path the recorder was called with, once it was.
    std::string shownPath() {
        const auto end = Clock::now() + kShowWait;
        while (!fs::exists(scratch.path() + "/shown") && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream in(scratch.path() + "/shown");
        std::string line;
        std::getline(in, line);
        return line;
    }

    testing::ScratchFolder scratch;
    BillSheet sheet;
    std::string workbook;
    LibreOfficeOptions options;
    ExportCounter counter = 0;
};

TEST_F(LibreOfficeExport, SavesEveryCellAsTheBillShowsItAndShowsTheWorkbook) {
    testing::FakeSpreadsheet expected;
    ExportCounter n = 0;
    ASSERT_FALSE(Command4_Click(sheet, n, {{expected, workbook}, {}}).has_value());

    ASSERT_FALSE(exportTo(workbook).has_value());
    EXPECT_EQ(counter, 1) << "a new profile's first start took the repeated pass";
    EXPECT_EQ(shownPath(), workbook);
    EXPECT_FALSE(fs::exists(scratch.path() + "/.~lock.Tarnel账单.xls#"));
    // The Calc that waited beside the hidden office has the bill now.
    EXPECT_TRUE(fs::exists(scratch.path() + "/standby"));
    EXPECT_EQ(standbys().size(), 1u);

    const ReadSheet read = testing::readBack(workbook, scratch.path());
    ASSERT_GE(read.size(), 14u);
    auto at = [&](int row, int column) {
        const auto& r = read[row - 1];
        return column <= static_cast<int>(r.size()) ? r[column - 1] : testing::ReadCell{};
    };
    ASSERT_EQ(expected.cells.size(), static_cast<std::size_t>(kMappedCells));
    for (const auto& [rc, value] : expected.cells) {
        const auto [row, column] = rc;
        const auto cell = at(row, column);
        const bool isText = std::holds_alternative<std::u16string>(value);
        const bool isEmpty = isText && std::get<std::u16string>(value).empty();
        SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
        EXPECT_EQ(cell.shown, shownAs(value, row, column));
        if (!isEmpty) {
            EXPECT_EQ(cell.text, isText);  // numbers stay numbers, texts texts
        }
    }
    // The template's own texts are untouched.
    EXPECT_EQ(at(1, 1).shown, "木材销售清单");
    const char* captions[] = {"长(米)",       "宽(毫米)",        "厚(毫米)", "件数",
                              "材积(立方米)", "单价(元/立方米)", "金额(元)"};
    for (int c = 1; c <= 7; ++c) EXPECT_EQ(at(4, c).shown, captions[c - 1]);
    EXPECT_EQ(at(3, 1).shown, "购货单位");
    EXPECT_EQ(at(13, 1).shown, "检尺员");
    EXPECT_EQ(at(13, 4).shown, "合计");
    EXPECT_EQ(at(14, 1).shown, "出货单位");
}

TEST_F(LibreOfficeExport, OwnStaleLockIsRemoved) {
    // One of our offices killed mid-export left its lock: the export goes on.
    const std::string lock = scratch.path() + "/.~lock.Tarnel账单.xls#";
    std::ofstream(lock) << ",cubrix,thishost,01.01.2024 09:00,file://" << options.cacheRoot
                        << "/office-profile;";
    ASSERT_FALSE(exportTo(workbook).has_value());
    EXPECT_FALSE(fs::exists(lock));
    EXPECT_EQ(shownPath(), workbook);
}

struct FailureCase {
    const char* name;
    std::function<void(const std::string& folder, std::string& path, LibreOfficeOptions&)> arrange;
    SpreadsheetError kind;
    int number;
    const char* says;  // in the operator's text
};

TEST_F(LibreOfficeExport, FailuresTellTheOperatorAndLeaveNoOffice) {
    const FailureCase cases[] = {
        {"no office program", [](auto&, auto&, auto& o) { o.program = "/nonexistent/soffice"; },
         SpreadsheetError::CannotStart, lo::kNoProgram, "无法启动电子表格程序"},
        {"workbook missing", [](auto& dir, auto& path, auto&) { path = dir + "/无此文件.xls"; },
         SpreadsheetError::FileMissing, lo::kNoWorkbook, "找不到账单工作簿"},
        {"sheet missing",
         [](auto& dir, auto& path, auto&) {
             const std::string csv = dir + "/别的表.csv";
             std::ofstream(csv) << "1,2\n";
             ASSERT_TRUE(testing::convertWithOffice(csv, "xls:MS Excel 97", dir, dir));
             fs::rename(dir + "/别的表.xls", path);
         },
         SpreadsheetError::SheetMissing, lo::kNoSheet, "没有名为“Tarnel账单”的工作表"},
        {"empty file", [](auto&, auto& path, auto&) { fs::resize_file(path, 0); },
         SpreadsheetError::Damaged, lo::kEmptyWorkbook, "已损坏"},
        {"random bytes",
         [](auto&, auto& path, auto&) {
             std::mt19937 bytes(22);
             std::ofstream out(path, std::ios::binary | std::ios::trunc);
             for (int i = 0; i < 20 * 1024; ++i) out.put(static_cast<char>(bytes() & 0xff));
         },
         SpreadsheetError::Damaged, lo::kUnreadableAsXls, "不是电子表格工作簿"},
        {"file read-only", [](auto&, auto& path, auto&) { chmod(path.c_str(), 0444); },
         SpreadsheetError::WorkbookLocked, lo::kReadOnly, "请先关闭*Tarnel账单*"},
        {"folder read-only", [](auto& dir, auto&, auto&) { chmod(dir.c_str(), 0555); },
         SpreadsheetError::WorkbookLocked, lo::kReadOnly, "请先关闭*Tarnel账单*"},
        {"open in another office",
         [](auto& dir, auto&, auto&) {
             std::ofstream(dir + "/.~lock.Tarnel账单.xls#")
                 << ",Li Wei,office-pc,05.01.2024 10:12,file:///home/li/.config/libreoffice/4;";
         },
         SpreadsheetError::WorkbookLocked, lo::kLockedElsewhere, "请先关闭*Tarnel账单*"},
        {"window cannot be shown",
         [](auto&, auto&, auto& o) { o.displayCommand = {"/nonexistent/calc"}; },
         SpreadsheetError::CannotStart, lo::kLaunchFailed, "无法启动电子表格程序"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder folder;
        std::string path = testing::copyTemplate(folder.path());
        LibreOfficeOptions o = options;
        c.arrange(folder.path(), path, o);
        const auto before = fs::exists(path) ? fs::last_write_time(path) : fs::file_time_type{};
        const std::string lock = folder.path() + "/.~lock.Tarnel账单.xls#";
        const bool lockBefore = fs::exists(lock);

        LibreOfficeSpreadsheet office(o);
        ExportCounter n = 0;
        const auto failure = Command4_Click(sheet, n, {{office, path}, {}});
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->number, c.number) << failure->text;
        EXPECT_NE(failure->text.find(c.says), std::string::npos) << failure->text;
        EXPECT_EQ(failure->text.find("com.sun.star."), std::string::npos) << failure->text;
        EXPECT_TRUE(testing::processesMentioning(options.cacheRoot).empty());
        EXPECT_TRUE(standbys().empty()) << "the waiting Calc was left running";
        if (lockBefore) {
            EXPECT_TRUE(fs::exists(lock)) << "somebody else's lock was removed";
        }
        if (c.kind != SpreadsheetError::CannotStart && fs::exists(path)) {
            EXPECT_EQ(fs::last_write_time(path), before) << "the workbook was written";
        }
    }
}

// A tmpfs mounted on a folder for as long as the object lives.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, std::uintmax_t bytes) : folder_(folder) {
        fs::create_directory(folder);
        const std::string size = "size=" + std::to_string(bytes);
        mounted_ =
            mount("cubrix-test", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, size.c_str()) == 0;
        if (!mounted_) why_ = std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

    // Fills the disk with a file of its own until less than `left` is free.
    void fillUpTo(std::uintmax_t left) {
        std::ofstream filler(folder_ + "/filler", std::ios::binary);
        const std::string page(4096, 'x');
        while (filler && fs::space(folder_).available >= left)
            filler.write(page.data(), page.size()).flush();
    }

private:
    std::string folder_;
    bool mounted_ = false;
    std::string why_;
};

TEST_F(LibreOfficeExport, FullDiskIsToldAndTheWorkbookKept) {
    SmallDisk disk(scratch.path() + "/disk", 1024 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here (" << disk.why() << ")";
    const std::string path = testing::copyTemplate(scratch.path() + "/disk");
    std::ifstream in(path, std::ios::binary);
    const std::string before{std::istreambuf_iterator<char>(in), {}};
    disk.fillUpTo(8 * 1024);

    const auto failure = exportTo(path);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, lo::kNoRoomToStore) << failure->text;
    EXPECT_NE(failure->text.find("磁盘空间不足"), std::string::npos) << failure->text;
    std::ifstream after(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(after), {}), before);
    EXPECT_FALSE(fs::exists(scratch.path() + "/disk/.~lock.Tarnel账单.xls#"));
}

TEST_F(LibreOfficeExport, WorkbookHeldByAnotherOfficeIsLocked) {
    LibreOfficeOptions otherOptions = options;
    otherOptions.cacheRoot = scratch.path() + "/other-cache";
    otherOptions.standbyCommand.clear();
    LibreOfficeSpreadsheet other(otherOptions);
    other.createInstance(InstanceUse::Work);
    other.openWorkbook(workbook);
    EXPECT_TRUE(fs::exists(scratch.path() + "/.~lock.Tarnel账单.xls#"));

    // The operator's Calc runs already (here: on the other office's profile),
    // so none is started to wait beside the hidden office.
    options.operatorProfile = otherOptions.cacheRoot + "/office-profile";
    const auto failure = exportTo(workbook);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, lo::kLockedElsewhere) << failure->text;
    EXPECT_FALSE(fs::exists(scratch.path() + "/standby"));
    other.release();
    EXPECT_TRUE(testing::processesMentioning(otherOptions.cacheRoot).empty());
}

// Stops the hidden office after the tenth cell of every pass, as a hung
// office would, or with SIGKILL ends it, as a crashing one would.
class HangingOffice : public Spreadsheet {
public:
    explicit HangingOffice(LibreOfficeSpreadsheet& real, int signal = SIGSTOP)
        : real_(real), signal_(signal) {}
    void createInstance(InstanceUse use) override {
        cells_ = 0;
        real_.createInstance(use);
    }
    void openWorkbook(const std::string& p) override { real_.openWorkbook(p); }
    void selectSheet(std::u16string_view n) override { real_.selectSheet(n); }
    void setCell(int row, int column, const CellValue& v) override {
        if (++cells_ != 10) return real_.setCell(row, column, v);
        kill(-real_.officeProcessGroup(), signal_);
        const auto stopped = Clock::now();
        try {
            real_.setCell(row, column, v);
        } catch (...) {
            longestHang = std::max(longestHang, Clock::now() - stopped);
            throw;
        }
    }
    void save() override { real_.save(); }
    void closeAll() override { real_.closeAll(); }
    void quit() override { real_.quit(); }
    void show() override { real_.show(); }
    void release() noexcept override { real_.release(); }

    // From the stop to the failure of the call it froze, the longest of the passes.
    Clock::duration longestHang{};

private:
    LibreOfficeSpreadsheet& real_;
    int signal_;
    int cells_ = 0;
};

TEST_F(LibreOfficeExport, HungOfficeIsEndedWithinTheBound) {
    options.callLimit = std::chrono::seconds(2);
    LibreOfficeSpreadsheet office(options);
    HangingOffice hanging(office);
    const auto failure = Command4_Click(sheet, counter, {{hanging, workbook}, {}});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, lo::kCallOverran);
    EXPECT_NE(failure->text.find("没有响应"), std::string::npos) << failure->text;
    // The frozen call ends at its bound and the kill, however long the
    // office took to start on a busy machine.
    EXPECT_LT(hanging.longestHang, options.callLimit + std::chrono::seconds(3));
    EXPECT_FALSE(fs::exists(scratch.path() + "/.~lock.Tarnel账单.xls#"));
    // Nor the socket of the killed office's pipe.
    const std::string socketPrefix =
        "OSL_PIPE_" + std::to_string(getuid()) + "_cubrix-office-" + std::to_string(getpid()) + "-";
    for (const auto& entry : fs::directory_iterator("/tmp"))
        EXPECT_NE(entry.path().filename().string().rfind(socketPrefix, 0), 0u) << entry.path();
}

// The office's end closes its pipe under the next call: that call fails,
// and this program (with the operator's bill) lives on.
TEST_F(LibreOfficeExport, OfficeThatDiesMidExportIsAFailureNotTheEnd) {
    LibreOfficeSpreadsheet office(options);
    HangingOffice dying(office, SIGKILL);
    const auto failure = Command4_Click(sheet, counter, {{dying, workbook}, {}});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, lo::kCallFailed) << failure->text;
    // Which write meets the closed pipe is a race the bridge mostly wins;
    // a write of our own into one shows what any of them does.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    EXPECT_EQ(write(ends[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    close(ends[1]);
}

TEST_F(LibreOfficeExport, LeavesThisProgramsEnvironmentAsItWas) {
    // Whatever the UNO runtime needs stays inside it: the offices started
    // from here, and all that they start, see the operator's environment.
    ASSERT_FALSE(exportTo(workbook).has_value());
    EXPECT_EQ(environment(), kStartEnvironment);
}

// How the operator's Calc goes, and when.
// A Calc closed by the operator removes its lock: only the ends that leave
// one behind are tried here.
enum class Ending { Stays, Terminated, Killed };
enum class Moment { WhileStarting, WhileShowing };

struct CalcEndCase {
    const char* what;
    Moment moment;
    Ending ending;
    bool nextPrints;  // or is refused: the workbook is still open
    friend void PrintTo(const CalcEndCase& c, std::ostream* os) { *os << c.what; }
};

// The operator's real Calc, started by the print to wait beside the hidden
// office and then handed the bill, on a profile of the test's own.
class OperatorsCalc : public LibreOfficeExport, public ::testing::WithParamInterface<CalcEndCase> {
protected:
    OperatorsCalc() {
        profile = scratch.path() + "/operator-profile";
        const std::string wrapper = scratch.path() + "/calc.sh";
        std::ofstream(wrapper) << "#!/bin/sh\nexec " << lo::kOfficeProgramDir
                               << "/soffice -env:UserInstallation=file://" << profile
                               << " \"$@\"\n";
        fs::permissions(wrapper, fs::perms::owner_all);
        options.standbyCommand = {wrapper, "--nologo", "--nodefault", "--norestore"};
        options.displayCommand = {wrapper, "--calc", "--norestore"};
        options.operatorProfile = profile;
    }
    ~OperatorsCalc() override { end(SIGKILL); }

    // Waits until a Calc has the workbook open, as one showing it has.
    bool billShown() {
        const auto end = Clock::now() + std::chrono::seconds(60);
        while (!lo::officeMayHoldFile(workbook, profile)) {
            if (Clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return true;
    }

    // Sends `signal` to every process of the operator's Calc and waits for
    // them to go.
    void end(int signal) {
        for (int pid : testing::processesMentioning(profile)) kill(pid, signal);
        const auto end = Clock::now() + std::chrono::seconds(30);
        while (!testing::processesMentioning(profile).empty() && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    void finish(Ending ending) {
        switch (ending) {
            case Ending::Stays:
                break;
            case Ending::Terminated:
                end(SIGTERM);
                break;
            case Ending::Killed:
                end(SIGKILL);
                break;
        }
    }

    // Zombies whose parent is this program: an office of ours not waited for.
    static std::vector<std::string> zombieChildren() {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator("/proc")) {
            const std::string line = lo::readProcFile(entry.path() / "stat");
            const auto close = line.rfind(')');
            if (close == std::string::npos) continue;
            std::istringstream rest(line.substr(close + 1));
            char state = 0;
            long ppid = 0;
            rest >> state >> ppid;
            if (state == 'Z' && ppid == getpid()) found.push_back(line);
        }
        return found;
    }

    std::string profile;
};

// Ends the Calc that waits beside the hidden office, mid-export.
class EndingStandby : public Spreadsheet {
public:
    EndingStandby(Spreadsheet& real, std::function<void()> endCalc)
        : real_(real), endCalc_(std::move(endCalc)) {}
    void createInstance(InstanceUse use) override { real_.createInstance(use); }
    void openWorkbook(const std::string& p) override { real_.openWorkbook(p); }
    void selectSheet(std::u16string_view n) override { real_.selectSheet(n); }
    void setCell(int row, int column, const CellValue& v) override {
        if (++cells_ == 10) endCalc_();
        real_.setCell(row, column, v);
    }
    void save() override { real_.save(); }
    void closeAll() override { real_.closeAll(); }
    void quit() override { real_.quit(); }
    void show() override { real_.show(); }
    void release() noexcept override { real_.release(); }

private:
    Spreadsheet& real_;
    std::function<void()> endCalc_;
    int cells_ = 0;
};

TEST_P(OperatorsCalc, HoweverItEndsTheNextPrintIsNotHeldUp) {
    const CalcEndCase& c = GetParam();
    {
        LibreOfficeSpreadsheet office(options);
        EndingStandby ending(office, [&] { finish(c.ending); });
        Spreadsheet& through =
            c.moment == Moment::WhileStarting ? static_cast<Spreadsheet&>(ending) : office;
        const auto failure = Command4_Click(sheet, counter, {{through, workbook}, {}});
        ASSERT_FALSE(failure.has_value()) << failure->number << " " << failure->text;
    }
    ASSERT_TRUE(billShown()) << "the first print's bill never showed";
    if (c.moment == Moment::WhileShowing) finish(c.ending);
    EXPECT_EQ(zombieChildren(), std::vector<std::string>());

    sheet.set(Field::Text14, 0, u"李师傅");
    const auto failure = exportTo(workbook);
    if (!c.nextPrints) {
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->number, lo::kLockedElsewhere) << failure->text;
        return;
    }
    ASSERT_FALSE(failure.has_value()) << failure->text;
    EXPECT_TRUE(billShown()) << "the next print's bill never showed";
    EXPECT_EQ(zombieChildren(), std::vector<std::string>());
    end(SIGKILL);
    const ReadSheet read = testing::readBack(workbook, scratch.path());
    ASSERT_GE(read.size(), 13u);
    EXPECT_EQ(read[12][1].shown, "李师傅");
}

INSTANTIATE_TEST_SUITE_P(
    LibreOfficeExport, OperatorsCalc,
    ::testing::Values(
        CalcEndCase{"still showing the bill: the print is refused", Moment::WhileShowing,
                    Ending::Stays, false},
        CalcEndCase{"ended while showing the bill", Moment::WhileShowing, Ending::Terminated, true},
        CalcEndCase{"killed while showing the bill", Moment::WhileShowing, Ending::Killed, true},
        CalcEndCase{"killed while starting: a new one shows the bill, which is open again",
                    Moment::WhileStarting, Ending::Killed, false}));

// A workbook passed around by chat or stick may carry a macro bound to its
// opening: one that writes `marker`. The office writes no macro into an .xls,
// so a flat ODF workbook carries it to the shown Calc.
std::string writeDoctoredWorkbook(const std::string& folder, const std::string& marker) {
    const std::string path = folder + "/doctored.fods";
    std::ofstream(path) << R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:script="urn:oasis:names:tc:opendocument:xmlns:script:1.0"
 xmlns:ooo="http://openoffice.org/2004/office" xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:scripts>
  <office:script script:language="ooo:Basic"><ooo:libraries>
   <ooo:library-embedded ooo:name="Standard"><ooo:module ooo:name="Module1"><ooo:source-code>
Sub OnOpen
 Open ")" << marker << R"(" For Output As #1
 Print #1, "ran"
 Close #1
End Sub
   </ooo:source-code></ooo:module></ooo:library-embedded>
  </ooo:libraries></office:script>
  <office:event-listeners><script:event-listener script:language="ooo:script"
   script:event-name="dom:load"
   xlink:href="vnd.sun.star.script:Standard.Module1.OnOpen?language=Basic&amp;location=document"/>
  </office:event-listeners>
 </office:scripts>
 <office:body><office:spreadsheet><table:table table:name="Tarnel账单">
  <table:table-row><table:table-cell/></table:table-row>
 </table:table></office:spreadsheet></office:body>
</office:document>
)";
    return path;
}

// How the hidden office of process group `group` loaded its workbook, read
// through a connection of the test's own to the office's pipe.
std::optional<sal_Int16> loadedMacroMode(pid_t group) {
    namespace css = com::sun::star;
    std::string line = lo::readProcFile("/proc/" + std::to_string(group) + "/cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    const std::string key = "--accept=pipe,name=";
    const auto at = line.find(key);
    if (at == std::string::npos) return std::nullopt;
    const std::string pipe = line.substr(at + key.size(), line.find(';', at) - at - key.size());
    const auto resolver = css::bridge::UnoUrlResolver::create(lo::localContext());
    const rtl::OUString url = rtl::OUString::createFromAscii(
        ("uno:pipe,name=" + pipe + ";urp;StarOffice.ComponentContext").c_str());
    css::uno::Reference<css::uno::XComponentContext> remote(resolver->resolve(url),
                                                            css::uno::UNO_QUERY_THROW);
    const auto documents =
        css::frame::Desktop::create(remote)->getComponents()->createEnumeration();
    while (documents->hasMoreElements()) {
        css::uno::Reference<css::frame::XModel> model(documents->nextElement(),
                                                      css::uno::UNO_QUERY);
        if (!model.is()) continue;
        for (const auto& argument : model->getArgs())
            if (argument.Name == "MacroExecutionMode") return argument.Value.get<sal_Int16>();
    }
    return std::nullopt;
}

// Neither the hidden export nor the Calc shown to the operator runs a
// workbook's opening macro: the export loads with macros never run, and the
// shown Calc keeps the operator's macro security, which by default runs no
// macro a document brings along.
TEST_F(LibreOfficeExport, AWorkbooksOpeningMacroRunsNowhere) {
    {
        std::optional<sal_Int16> mode;
        LibreOfficeSpreadsheet office(options);
        EndingStandby probing(office, [&] { mode = loadedMacroMode(office.officeProcessGroup()); });
        ASSERT_FALSE(exportTo(workbook, &probing).has_value());
        EXPECT_EQ(mode, com::sun::star::document::MacroExecMode::NEVER_EXECUTE);
    }
    const std::string marker = scratch.path() + "/macro-ran";
    const std::string doctored = writeDoctoredWorkbook(scratch.path(), marker);
    const std::string profile = scratch.path() + "/shown-profile";
    const std::string calc = scratch.path() + "/shown-calc.sh";
    std::ofstream(calc) << "#!/bin/sh\nexec " << lo::kOfficeProgramDir
                        << "/soffice -env:UserInstallation=file://" << profile << " \"$@\"\n";
    fs::permissions(calc, fs::perms::owner_all);
    options.displayCommand = {calc, "--calc", "--norestore"};
    {
        LibreOfficeSpreadsheet office(options);
        office.createInstance(InstanceUse::Display);
        office.openWorkbook(doctored);
        office.show();
        office.release();
    }
    // With macros off the office says so before it shows the workbook; with
    // them on, the opening event comes once the workbook's window is up.
    const std::string look =
        "timeout 120 xdotool search --sync --onlyvisible --name "
        "'^(Warning|doctored.fods - LibreOffice Calc)$' >/dev/null";
    EXPECT_EQ(std::system(look.c_str()), 0) << "the workbook never showed";
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_FALSE(fs::exists(marker)) << "the shown workbook ran its opening macro";
    for (int pid : testing::processesMentioning(profile)) kill(pid, SIGKILL);
}

}  // namespace
}  // namespace cubrix
