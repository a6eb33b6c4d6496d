// What the backend says to Excel's object model, against a recording stand-in.
#include "platform/excel/excel_spreadsheet.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bill/bill_sheet.h"
#include "bill/utf8.h"
#include "export/bill_export.h"
#include "export/cell_map.h"
#include "recording_dispatch.h"

namespace cubrix {
namespace {

using testing::Automation;
using testing::writeFile;

class ExcelBackend : public ::testing::Test {
protected:
    Automation automation;
    // Its name is not ASCII, as on the operator's disk.
    std::string path = testing::ownWorkbook("Tarnel账单.xls");
    int launches = 0;
    // Refusals are retried briefly here; the recorder answers at once.
    ExcelSpreadsheet excel{kOfficeProgIds,
                           [this](std::wstring_view) {
                               ++launches;
                               return automation.application();
                           },
                           std::chrono::milliseconds(300), automation.processes()};

    void openSheet() {
        excel.createInstance(InstanceUse::Work);
        excel.openWorkbook(path);
        excel.selectSheet(kBillSheetName);
    }
};

TEST_F(ExcelBackend, WorkPassInExcelsTerms) {
    openSheet();
    excel.setCell(5, 2, 4.2);
    excel.save();
    excel.closeAll();
    excel.quit();
    excel.release();
    const std::vector<std::string> expected = {
        "Excel.Workbooks",
        "Excel.Visible",
        "Workbooks.Count",
        "Excel.Hwnd",  // whose process: a new one is ours
        "Excel.DisplayAlerts=false",
        "Excel.AutomationSecurity=i4:3",  // the workbook's macros off, and left so
        "Workbooks.Open(\"" + path + "\")",
        "Workbook.ReadOnly",
        "Workbook.Worksheets(\"Tarnel账单\")",
        "Worksheet.Cells(i4:5,i4:2)",
        "Range.Value=r8:4.2",
        "Workbook.CheckCompatibility=false",  // no dialog on saving an .xls
        "Workbook.Save()",
        "Workbooks.Close()",
        "Excel.Quit()",
        "awaited process 7",
    };
    EXPECT_EQ(automation.log, expected);
    EXPECT_EQ(automation.alive, 0);
}

struct CellCase {
    CellValue value;
    const char* put;
};

void PrintTo(const CellCase& c, std::ostream* os) {
    *os << c.put;
}

class CellValues : public ExcelBackend, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CellValues, NumbersAsDoublesTextsNeverEvaluated) {
    openSheet();
    excel.setCell(1, 1, GetParam().value);
    EXPECT_EQ(automation.log.back(), GetParam().put);
}

INSTANTIATE_TEST_SUITE_P(Cases, CellValues,
                         ::testing::Values(CellCase{4.2, "Range.Value=r8:4.2"},
                                           CellCase{-1000.0, "Range.Value=r8:-1000"},
                                           CellCase{u"=HYPERLINK(\"x\")",
                                                    "Range.Value=\"'=HYPERLINK(\"x\")\""},
                                           CellCase{u"0123", "Range.Value=\"'0123\""},
                                           CellCase{u"13800138000", "Range.Value=\"'13800138000\""},
                                           CellCase{u"'quoted", "Range.Value=\"''quoted\""},
                                           CellCase{u"林场", "Range.Value=\"'林场\""},
                                           // Empty stays blank for the sheet's formulas.
                                           CellCase{u"", "Range.Value=\"\""}));

TEST_F(ExcelBackend, ShownInstanceIsLeftRunning) {
    excel.createInstance(InstanceUse::Display);
    excel.openWorkbook(path);
    excel.show();
    excel.release();
    // Kept running once released, since Excel quits an instance that is not
    // under the operator's control with its last reference.
    const std::vector<std::string> tail(automation.log.end() - 2, automation.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Excel.Visible=true", "Excel.UserControl=true"}));
    const std::vector<std::string> head(automation.log.begin() + 4, automation.log.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::string>{"Excel.AutomationSecurity=i4:3",
                                              "Workbooks.Open(\"" + path + "\")"}));
    EXPECT_EQ(automation.count("Excel.Quit"), 0);
    EXPECT_EQ(automation.count("Excel.DisplayAlerts"), 0);
    EXPECT_EQ(automation.count("Workbook.ReadOnly"), 0);  // read-only is fine to print
    EXPECT_EQ(automation.alive, 0);
}

TEST_F(ExcelBackend, AbandonedInstanceClosesUnsavedAndQuits) {
    openSheet();
    excel.setCell(1, 1, 1.0);
    excel.release();
    const std::vector<std::string> tail(automation.log.end() - 4, automation.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Excel.DisplayAlerts=false", "Workbook.Close(false)",
                                              "Excel.Quit()", "awaited process 7"}));
    EXPECT_EQ(automation.alive, 0);
}

// A click whose two passes both fail, and what the operator is told.
struct FailingClick {
    const char* name;
    std::function<void(Automation&, std::string& path)> arrange;
    HRESULT number;
    const char* told;  // part of the message
    int quits;         // hidden instances ended, one per pass when one started
};

void PrintTo(const FailingClick& c, std::ostream* os) {
    *os << c.name;
}

class FailingClicks : public ExcelBackend, public ::testing::WithParamInterface<FailingClick> {};

TEST_P(FailingClicks, ReportTheHresultAndLeaveNoHiddenInstance) {
    GetParam().arrange(automation, path);
    BillSheet sheet;
    ExportCounter counter = 0;
    const auto failure = Command4_Click(sheet, counter, {{excel, path}, {}});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, static_cast<int>(GetParam().number));
    EXPECT_NE(failure->text.find(GetParam().told), std::string::npos) << failure->text;
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(automation.count("Excel.Quit()"), GetParam().quits);
    EXPECT_EQ(automation.alive, 0);
}

void fail(Automation& a, const char* member, HRESULT hr, bool asException = false) {
    a.faults[member] = {hr, asException};
}

constexpr HRESULT kExcelError = 0x800A03EC;  // Excel's catch-all exception code
constexpr HRESULT kExcelBusy = 0x800AC472;   // Excel's refusal while a cell is in edit

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingClicks,
    ::testing::Values(
        FailingClick{"server_dies",
                     [](Automation& a, std::string&) { fail(a, "Workbooks", RPC_E_SERVERFAULT); },
                     RPC_E_SERVERFAULT, "无法启动电子表格程序", 2},
        FailingClick{"file_missing", [](Automation&, std::string& p) { p += ".gone"; },
                     HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "找不到账单工作簿", 2},
        FailingClick{
            "open_refused", [](Automation& a, std::string&) { fail(a, "Open", kExcelError, true); },
            kExcelError,
            "导出账单时出错。请再次打印。\n窗口中的账单没有改动。\n技术信息：Open: Recorder", 2},
        // What Excel cannot open is the file's fault only where the file says so.
        FailingClick{"open_not_a_workbook",
                     [](Automation& a, std::string& p) {
                         fail(a, "Open", kExcelError, true);
                         writeFile(p, std::string(20 * 1024, '\x9c'));
                     },
                     kExcelError, "不是电子表格工作簿", 2},
        FailingClick{"empty_file", [](Automation&, std::string& p) { writeFile(p, ""); },
                     HRESULT_FROM_WIN32(ERROR_INVALID_DATA), "请用账单模板 Tarnel账单.xls 替换它",
                     2},
        FailingClick{"read_only", [](Automation& a, std::string&) { a.values["ReadOnly"] = true; },
                     E_ACCESSDENIED, "正在别处打开", 2},
        // Excel with alerts off may fail outright on a file held for writing.
        FailingClick{"open_held_for_writing",
                     [](Automation& a, std::string& p) {
                         fail(a, "Open", kExcelError, true);
                         a.held.push_back(testing::holdForWriting(p));
                     },
                     HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION), "正在别处打开", 2},
        FailingClick{"no_such_sheet",
                     [](Automation& a, std::string&) { fail(a, "Worksheets", DISP_E_BADINDEX); },
                     DISP_E_BADINDEX, "没有名为“Tarnel账单”的工作表", 2},
        // A failed save is the file's fault only where Windows or the file says so.
        FailingClick{"save_failed",
                     [](Automation& a, std::string&) { fail(a, "Save", kExcelError, true); },
                     kExcelError, "导出账单时出错", 2},
        FailingClick{"save_disk_full",
                     [](Automation& a, std::string&) {
                         fail(a, "Save", HRESULT_FROM_WIN32(ERROR_DISK_FULL), true);
                     },
                     HRESULT_FROM_WIN32(ERROR_DISK_FULL), "磁盘空间不足", 2},
        FailingClick{"save_over_quota",
                     [](Automation& a, std::string&) {
                         fail(a, "Save", HRESULT_FROM_WIN32(kDiskQuotaExceeded), true);
                     },
                     HRESULT_FROM_WIN32(kDiskQuotaExceeded), "磁盘空间不足", 2},
        FailingClick{"save_denied",
                     [](Automation& a, std::string&) { fail(a, "Save", E_ACCESSDENIED, true); },
                     E_ACCESSDENIED, "正在别处打开", 2},
        FailingClick{"save_to_read_only_file",
                     [](Automation& a, std::string& p) {
                         fail(a, "Save", kExcelError, true);
                         const std::u16string wide = fromUtf8(p);
                         SetFileAttributesW(reinterpret_cast<const wchar_t*>(wide.c_str()),
                                            FILE_ATTRIBUTE_READONLY);
                     },
                     kExcelError, "正在别处打开", 2},
        // The office's process gone under a call: the message names the office.
        FailingClick{"server_gone",
                     [](Automation& a, std::string&) {
                         fail(a, "Value", HRESULT_FROM_WIN32(RPC_S_CALL_FAILED));
                     },
                     HRESULT_FROM_WIN32(RPC_S_CALL_FAILED),
                     "电子表格程序（Microsoft Excel）在导出时意外关闭", 2},
        FailingClick{"cell_refused",
                     [](Automation& a, std::string&) { fail(a, "Value", kExcelError, true); },
                     kExcelError, "导出账单时出错", 2},
        // Refused past the busy wait: references dropped, nothing more asked.
        FailingClick{"busy",
                     [](Automation& a, std::string&) { fail(a, "Value", RPC_E_CALL_REJECTED); },
                     RPC_E_CALL_REJECTED, "EXCEL.EXE", 0},
        // Excel's own refusal, kept up past the wait.
        FailingClick{"office_busy",
                     [](Automation& a, std::string&) { fail(a, "Value", kExcelBusy, true); },
                     kExcelBusy, "EXCEL.EXE", 0},
        // The same refusal where no message filter retried the call.
        FailingClick{
            "busy_unfiltered",
            [](Automation& a, std::string&) { fail(a, "Save", RPC_E_SERVERCALL_RETRYLATER); },
            RPC_E_SERVERCALL_RETRYLATER, "et.exe", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Clicks that land at the first pass although the office is awkward.
TEST_F(ExcelBackend, AwkwardOfficesStillLandTheBill) {
    struct Case {
        const char* what;
        std::map<std::string, Automation::Fault> faults;
    };
    const Case cases[] = {
        // Wine hands a refusal back at once instead of consulting the message
        // filter: the step is tried again, but the office is never started twice.
        {"refusals answered at once",
         {{"Workbooks", {RPC_E_CALL_REJECTED, false, 2}},
          {"Value", {RPC_E_SERVERCALL_RETRYLATER, false, 3}}}},
        {"Excel busy for a while",
         {{"Cells", {kExcelBusy, true, 2}}, {"Open", {kExcelBusy, true, 1}}}},
        {"office without UserControl", {{"UserControl", {DISP_E_UNKNOWNNAME}}}},
        {"office without CheckCompatibility", {{"CheckCompatibility", {DISP_E_UNKNOWNNAME}}}},
        {"CheckCompatibility refused", {{"CheckCompatibility", {kExcelError, true}}}},
        {"office without Hwnd", {{"Hwnd", {DISP_E_UNKNOWNNAME}}}},
        {"office without AutomationSecurity", {{"AutomationSecurity", {DISP_E_UNKNOWNNAME}}}},
        {"AutomationSecurity refused", {{"AutomationSecurity", {kExcelError, true}}}},
    };
    for (const Case& c : cases) {
        automation = {};
        automation.faults = c.faults;
        launches = 0;
        BillSheet sheet;
        ExportCounter counter = 0;
        const auto failure = Command4_Click(sheet, counter, {{excel, path}, {}});
        EXPECT_FALSE(failure.has_value()) << c.what << ": " << failure->text;
        EXPECT_EQ(counter, 1) << c.what;
        EXPECT_EQ(launches, 2) << c.what;  // the work instance and the shown one
        EXPECT_EQ(automation.count("Workbook.Save()"), 1) << c.what;
        EXPECT_EQ(automation.count("Excel.Visible=true"), 1) << c.what;
        EXPECT_EQ(automation.alive, 0) << c.what;
    }
}

// Our own office, told to Quit, is ended when its process stays.
TEST_F(ExcelBackend, OwnOfficeLingeringAfterQuitIsEnded) {
    for (const bool lingers : {false, true}) {
        automation = {};
        automation.lingers = lingers;
        BillSheet sheet;
        ExportCounter counter = 0;
        EXPECT_FALSE(Command4_Click(sheet, counter, {{excel, path}, {}}).has_value());
        EXPECT_EQ(automation.count("awaited process 7"), 1) << lingers;
        EXPECT_EQ(automation.count("ended process 7"), lingers ? 1 : 0);
        // Awaited only once the last reference was gone.
        EXPECT_EQ(automation.alive, 0);
    }
}

// An office that serves every caller from one process may hand out the
// operator's own office, even one that reports itself hidden and empty; so
// may an office whose process is not known. Whatever the road, only the bill
// workbook is closed in it, the operator's alerts come back, and the office
// is never quit or ended.

TEST_F(ExcelBackend, OperatorsOwnWindowIsNeverEnded) {
    struct Case {
        const char* what;
        std::function<void(Automation&)> arrange;
        std::function<void()> run;
        std::vector<std::pair<std::string, int>> counts;  // log entry, times
    };
    const auto click = [this] {
        BillSheet sheet;
        ExportCounter counter = 0;
        EXPECT_FALSE(Command4_Click(sheet, counter, {{excel, path}, {}}).has_value());
    };
    const auto abandon = [this] {
        openSheet();
        excel.release();
    };
    const Case cases[] = {
        {"click with the operator's workbooks open",
         [](Automation& a) {
             a.values["Count"] = 2;
             a.values["AutomationSecurity"] = 2;
         },
         click,
         {{"Workbook.Close()", 1},
          {"Excel.DisplayAlerts=true", 1},
          {"Excel.Visible=true", 1},
          {"Excel.AutomationSecurity=i4:3", 2},
          {"Excel.AutomationSecurity=i4:2", 2}}},
        {"click in a process that ran before, hidden and empty",
         [](Automation& a) { a.values["Hwnd"] = testing::kOperatorsProcess; },
         click,
         {{"Workbook.Close()", 1}, {"Excel.DisplayAlerts=true", 1}, {"Excel.Visible=true", 1}}},
        {"click where the office has no window to tell its process",
         [](Automation& a) { a.values["Hwnd"] = 0; },
         click,
         {{"Workbook.Close()", 1}, {"Excel.DisplayAlerts=true", 1}}},
        {"click where the office lacks Hwnd",
         [](Automation& a) { fail(a, "Hwnd", DISP_E_UNKNOWNNAME); },
         click,
         {{"Workbook.Close()", 1}, {"Excel.DisplayAlerts=true", 1}}},
        {"click where the running processes are not known",
         [](Automation& a) { a.before.reset(); },
         click,
         {{"Workbook.Close()", 1}, {"Excel.DisplayAlerts=true", 1}}},
        {"abandoned in a process that ran before",
         [](Automation& a) { a.values["Hwnd"] = testing::kOperatorsProcess; },
         abandon,
         {{"Workbook.Close(false)", 1}, {"Excel.DisplayAlerts=true", 1}}},
        {"abandoned in a visible window",
         [](Automation& a) { a.values["Visible"] = true; },
         abandon,
         {{"Workbook.Close(false)", 1}, {"Excel.DisplayAlerts=true", 1}}},
        {"operator's alerts were off",
         [](Automation& a) {
             a.values["Count"] = 1;
             a.values["DisplayAlerts"] = false;
         },
         abandon,
         {{"Excel.DisplayAlerts=false", 2}, {"Excel.DisplayAlerts=true", 0}}},
        {"shown instance failing at open",
         [](Automation& a) {
             a.values["Visible"] = true;
             fail(a, "Open", kExcelError, true);
         },
         [this] {
             excel.createInstance(InstanceUse::Display);
             EXPECT_THROW(excel.openWorkbook(path), SpreadsheetFailure);
             excel.release();
         },
         {{"Excel.DisplayAlerts", 0}, {"Excel.AutomationSecurity=i4:1", 1}}},
        {"operator's office without AutomationSecurity",
         [](Automation& a) {
             a.values["Count"] = 1;
             fail(a, "AutomationSecurity", DISP_E_UNKNOWNNAME);
         },
         click,
         {{"Workbook.Save()", 1}, {"Excel.Visible=true", 1}}},
    };
    for (const Case& c : cases) {
        automation = {};
        c.arrange(automation);
        c.run();
        EXPECT_EQ(automation.count("Excel.Quit"), 0) << c.what;
        EXPECT_EQ(automation.count("Workbooks.Close"), 0) << c.what;
        EXPECT_EQ(automation.count("awaited process"), 0) << c.what;
        EXPECT_EQ(automation.count("ended process"), 0) << c.what;
        for (const auto& [entry, times] : c.counts)
            EXPECT_EQ(automation.count(entry), times) << c.what << ": " << entry;
        EXPECT_EQ(automation.alive, 0) << c.what;
    }
}

}  // namespace
}  // namespace cubrix
