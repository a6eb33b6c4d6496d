// The operator's texts for a failed export.
#include "export/export_messages.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "bill/failure.h"

namespace cubrix {
namespace {

// The words in Latin letters an operator may meet: the programs this system
// drives (advice to install or end another one sends the operator the wrong
// way), the template's name, and the path.
#ifdef _WIN32
const std::vector<std::string> kForeign = {"LibreOffice"};
const std::vector<std::string> kOwnNames = {
    "Microsoft Excel", "WPS Office", "EXCEL.EXE", "wpsoffice.exe",
    "et.exe",          "Excel",      "WPS",       "Tarnel"};
const std::string kPath = "d:\\Tarnel账单.xls";
// How Excel and WPS word a file they cannot open or save, as the backend
// passes it on.
const std::string kOfficeSays =
    "Open: Microsoft Excel cannot open the file because the file format or file extension is "
    "not valid. (0x800A03EC)";
#else
const std::vector<std::string> kForeign = {"Excel", "EXCEL", "WPS", "et.exe"};
const std::vector<std::string> kOwnNames = {"LibreOffice Calc", "Tarnel"};
const std::string kPath = "/home/yard/d/Tarnel账单.xls";
const std::string kOfficeSays =
    "store: SfxBaseModel::storeSelf: 0x40b02 at ./sfx2/source/doc/sfxbasemodel.cxx:1693";
#endif

void eraseAll(std::string& text, const std::string& part) {
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

// Every failure in the operator's own words: the office's wording, a code or
// a class name only on the technician's line below, and the bill kept.
TEST(ExportMessages, SpeakToTheOperatorAndKeepTheOfficeForTheTechnician) {
    const SpreadsheetError kinds[] = {
        SpreadsheetError::CannotStart,    SpreadsheetError::FileMissing,
        SpreadsheetError::Damaged,        SpreadsheetError::SheetMissing,
        SpreadsheetError::WorkbookLocked, SpreadsheetError::NoRoom,
        SpreadsheetError::OfficeClosed,   SpreadsheetError::TimedOut,
        SpreadsheetError::Unresponsive,   SpreadsheetError::Other,
    };
    const std::regex latinWordOrCode("[A-Za-z]{2,}|0x[0-9A-Fa-f]+|-?[0-9]{6,}");
    for (const SpreadsheetError kind : kinds) {
        for (const auto& tried : {std::vector<std::string>{}, kOwnNames}) {
            const std::string text = exportFailureText(kind, kPath, kOfficeSays, tried);
            SCOPED_TRACE(text);
            const auto technical = text.find(kTechnicalDetail);
            std::string operatorPart = text.substr(0, technical);
            for (const std::string& name : kForeign) EXPECT_EQ(text.find(name), std::string::npos);
            eraseAll(operatorPart, kPath);
            for (const std::string& name : kOwnNames) eraseAll(operatorPart, name);
            eraseAll(operatorPart, ".xls");
            EXPECT_FALSE(std::regex_search(operatorPart, latinWordOrCode)) << operatorPart;
            EXPECT_NE(operatorPart.find("窗口中的账单没有改动"), std::string::npos);
            if (kind == SpreadsheetError::Other) {
                EXPECT_NE(technical, std::string::npos);
            }
            if (technical != std::string::npos) {
                // The technician's line is the last, and holds the office's words.
                EXPECT_EQ(text.substr(technical), kTechnicalDetail + kOfficeSays);
                EXPECT_EQ(text[technical - 1], '\n');
            }
        }
    }
}

}  // namespace
}  // namespace cubrix
