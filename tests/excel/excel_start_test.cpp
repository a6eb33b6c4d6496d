// Which office serves an export, decided by real COM class registration:
// classes that every Windows (and Wine) registers stand in for an installed
// office, made-up names for a missing one. Once created, a recorder plays the
// office's object model.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "bill/bill_sheet.h"
#include "bill/utf8.h"
#include "export/bill_export.h"
#include "platform/excel/com_error.h"
#include "platform/excel/dispatch.h"
#include "platform/excel/excel_spreadsheet.h"
#include "recording_dispatch.h"

namespace cubrix {
namespace {

using testing::Automation;

constexpr std::array<const wchar_t*, 3> kInstalled = {
    L"Scripting.Dictionary", L"Scripting.FileSystemObject", L"VBScript.RegExp"};
constexpr std::array<const wchar_t*, 3> kMissing = {L"Cubrix.NoExcel", L"Cubrix.NoKet",
                                                    L"Cubrix.NoEt"};

// The office list with each entry installed or not, named as the real list.
std::vector<Office> offices(std::array<bool, 3> installed) {
    std::vector<Office> list;
    for (std::size_t i = 0; i < kOfficeProgIds.size(); ++i)
        list.push_back({installed[i] ? kInstalled[i] : kMissing[i], kOfficeProgIds[i].name});
    return list;
}

class OfficeChoice : public ::testing::Test {
protected:
    Automation automation;
    std::vector<std::wstring> attempts;  // every class asked for, in order
    std::vector<std::wstring> created;   // the ones that gave an instance

    std::optional<Failure> click(std::array<bool, 3> installed, ExportCounter& counter) {
        ExcelSpreadsheet office{offices(installed), [this](std::wstring_view progId) {
                                    attempts.emplace_back(progId);
                                    com::createObject(progId, CLSCTX_INPROC_SERVER);
                                    created.emplace_back(progId);
                                    return automation.application();
                                }};
        BillSheet sheet;
        return Command4_Click(sheet, counter, {{office, workbook}, {}});
    }

    std::string workbook = testing::ownWorkbook("office-choice.xls");
};

TEST_F(OfficeChoice, FirstInstalledOfficeServesBothInstances) {
    struct Case {
        const char* what;
        std::array<bool, 3> installed;
        int used;      // index into the list; -1: none could be created
        int attempts;  // creations asked for in the whole click
    };
    const Case cases[] = {
        {"none", {false, false, false}, -1, 6},  // the whole list, on both passes
        {"only the first", {true, false, false}, 0, 2},
        {"only the second", {false, true, false}, 1, 3},
        {"only the third", {false, false, true}, 2, 4},
        {"second and third", {false, true, true}, 1, 3},
    };
    for (const Case& c : cases) {
        attempts.clear();
        created.clear();
        ExportCounter counter = 0;
        const auto failure = click(c.installed, counter);
        EXPECT_EQ(static_cast<int>(attempts.size()), c.attempts) << c.what;
        EXPECT_EQ(automation.alive, 0) << c.what;
        if (c.used < 0) {
            ASSERT_TRUE(failure.has_value()) << c.what;
            EXPECT_TRUE(created.empty()) << c.what;
            EXPECT_EQ(counter, 2) << c.what;
            EXPECT_EQ(failure->number, static_cast<int>(CO_E_CLASSSTRING)) << c.what;
            EXPECT_NE(failure->text.find("依次试过：Microsoft Excel、WPS 表格。请安装 Microsoft "
                                         "Excel 或 WPS Office，然后再次打印。"),
                      std::string::npos)
                << failure->text;
            EXPECT_NE(failure->text.find("窗口中的账单没有改动"), std::string::npos);
            EXPECT_EQ(failure->text.find("LibreOffice"), std::string::npos) << failure->text;
            continue;
        }
        EXPECT_FALSE(failure.has_value()) << c.what << ": " << failure->text;
        const std::wstring used = kInstalled[c.used];
        EXPECT_EQ(created, (std::vector<std::wstring>{used, used})) << c.what;
        EXPECT_EQ(counter, 1) << c.what;
    }
}

// Once an office was created, its own failure is no reason to try another:
// the repeated pass asks the list again and gets the same office.
TEST_F(OfficeChoice, FailureAfterCreationRepeatsWithTheSameOffice) {
    struct Case {
        const char* what;
        int openFailures;  // -1: every Open fails
        bool succeeds;
        std::size_t instances;
    };
    const Case cases[] = {{"open fails once", 1, true, 3}, {"open always fails", -1, false, 2}};
    const std::wstring second = kInstalled[1];
    for (const Case& c : cases) {
        attempts.clear();
        created.clear();
        automation.faults["Open"] = {static_cast<HRESULT>(0x800A03EC), true, c.openFailures};
        ExportCounter counter = 0;
        const auto failure = click({false, true, true}, counter);
        EXPECT_EQ(failure.has_value(), !c.succeeds) << c.what;
        if (failure) {
            EXPECT_NE(failure->text.find("技术信息：Open"), std::string::npos);
        }
        EXPECT_EQ(created, std::vector<std::wstring>(c.instances, second)) << c.what;
        EXPECT_EQ(counter, 2) << c.what;
        EXPECT_EQ(automation.alive, 0) << c.what;
    }
}

// The real start of an out-of-process server: a class registered only
// in-process is as missing as an unregistered one, and the operator gets the
// first office's HRESULT.
TEST(OfficeStart, ServerStartFailuresNameTheFirstOfficesHresult) {
    const Office list[] = {{L"Scripting.Dictionary", "Microsoft Excel"},
                           {L"Cubrix.NoKet", "WPS 表格"}};
    ExcelSpreadsheet office{list};
    BillSheet sheet;
    ExportCounter counter = 0;
    const auto failure = Command4_Click(sheet, counter, {{office, "d:\\Tarnel账单.xls"}, {}});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, static_cast<int>(REGDB_E_CLASSNOTREG));
    EXPECT_EQ(failure->text.rfind("无法启动电子表格程序。依次试过：Microsoft Excel、WPS 表格。", 0),
              0u)
        << failure->text;
}

}  // namespace
}  // namespace cubrix
