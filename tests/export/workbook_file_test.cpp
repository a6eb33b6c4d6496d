// What the workbook file's first bytes say, as the backends ask when an
// office fails on it: a workbook of any kind must never be called damaged.
#include "export/workbook_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace cubrix {
namespace {

TEST(WorkbookFile, KindsOfContent) {
    struct Case {
        const char* what;
        std::string bytes;
        WorkbookContent kind;
    };
    const Case cases[] = {
        {"empty", "", WorkbookContent::Empty},
        {".xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'),
         WorkbookContent::LooksLikeOne},
        {".xlsx or .ods", "PK\x03\x04rest", WorkbookContent::LooksLikeOne},
        {"SpreadsheetML with a BOM", "\xEF\xBB\xBF<?xml version=\"1.0\"?>",
         WorkbookContent::LooksLikeOne},
        {"HTML after blanks", "\r\n  <html>", WorkbookContent::LooksLikeOne},
        {"text", "长,宽\n4.2,150\n", WorkbookContent::NotAWorkbook},
        {"a zip's name but not its start", "xPK\x03\x04", WorkbookContent::NotAWorkbook},
    };
    // Of this run's own: suites of other checkouts may run beside it.
    const auto path =
        std::filesystem::temp_directory_path() /
        ("cubrix-workbook-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".xls");
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        EXPECT_EQ(inspectWorkbook(path.string()), c.kind) << c.what;
    }
    std::filesystem::remove(path);
    EXPECT_EQ(inspectWorkbook(path.string()), WorkbookContent::Unreadable) << "missing";
    EXPECT_EQ(inspectWorkbook(std::filesystem::temp_directory_path().string()),
              WorkbookContent::Unreadable)
        << "a folder";
}

}  // namespace
}  // namespace cubrix
