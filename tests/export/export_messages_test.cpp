// The operator's texts for a failed export.
#include "export/export_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cubrix {
namespace {

// Advice to install or end a program this system cannot drive sends the
// operator the wrong way.
TEST(ExportMessages, NameOnlyTheProgramsOfThisSystem) {
#ifdef _WIN32
    const std::vector<std::string> foreign = {"LibreOffice"};
#else
    const std::vector<std::string> foreign = {"Excel", "EXCEL", "WPS", "et.exe"};
#endif
    const SpreadsheetError kinds[] = {
        SpreadsheetError::CannotStart,  SpreadsheetError::FileMissing,
        SpreadsheetError::SheetMissing, SpreadsheetError::WorkbookLocked,
        SpreadsheetError::TimedOut,     SpreadsheetError::Unresponsive,
        SpreadsheetError::Other,
    };
    for (const SpreadsheetError kind : kinds) {
        const std::string text = exportFailureText(kind, "Tarnel账单.xls", "detail");
        for (const std::string& name : foreign)
            EXPECT_EQ(text.find(name), std::string::npos) << text;
        EXPECT_NE(text.find("窗口中的账单没有改动"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace cubrix
