// Starting Excel where it is not installed (as under Wine): the real COM
// failures, and the export's answer to them.
#include <gtest/gtest.h>

#include "bill/bill_sheet.h"
#include "export/bill_export.h"
#include "platform/excel/com_error.h"
#include "platform/excel/excel_spreadsheet.h"

namespace cubrix {
namespace {

struct StartCase {
    const wchar_t* progId;
    HRESULT hr;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << com::hexHresult(c.hr);
}

class MissingServer : public ::testing::TestWithParam<StartCase> {};

// Counts the instances the export asks for.
class CountingExcel : public ExcelSpreadsheet {
public:
    using ExcelSpreadsheet::ExcelSpreadsheet;
    void createInstance(InstanceUse use) override {
        ++starts;
        ExcelSpreadsheet::createInstance(use);
    }
    int starts = 0;
};

TEST_P(MissingServer, ClickRepeatsOnceThenTellsTheOperator) {
    CountingExcel excel{GetParam().progId};
    BillSheet sheet;
    ExportCounter counter = 0;
    const auto failure = Command4_Click(sheet, counter, {excel, "d:\\Tarnel账单.xls", {}});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, static_cast<int>(GetParam().hr));
    EXPECT_EQ(failure->text.rfind("无法启动电子表格程序", 0), 0u) << failure->text;
    EXPECT_EQ(excel.starts, 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, MissingServer,
                         ::testing::Values(StartCase{kExcelProgId, CO_E_CLASSSTRING},
                                           // Registered, but only in-process: no server to start.
                                           StartCase{L"Scripting.Dictionary",
                                                     REGDB_E_CLASSNOTREG}));

}  // namespace
}  // namespace cubrix
