// The printed bill beyond the exported cells: the date, the total amount in
// capitals and the page, as the saved workbook shows them after a real export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "bill/recalculation.h"
#include "bill/utf8.h"
#include "bill/zero_blanking.h"
#include "export/bill_export.h"
#include "office_test_support.h"
#include "platform/libreoffice/libreoffice_spreadsheet.h"
#include "tools/sheet-probe/probe_case.h"

namespace cubrix {
namespace {

namespace fs = std::filesystem;
using testing::ReadCell;
using testing::ReadSheet;

// The total amount in capitals as a bill is written by hand, worked out
// from the total's decimal text digit by digit: one 零 for a run of zeros
// that a non-zero digit follows, except a run that only ends a 万 or 亿
// group (zeros ending the yuan are, before jiao); 整 without jiao and fen.
// Empty from 1万亿 on.
std::string capitalsOf(std::string_view total) {
    static const char* const kDigit[] = {"零", "壹", "贰", "叁", "肆",
                                         "伍", "陆", "柒", "捌", "玖"};
    static const char* const kPlace[] = {"", "拾", "佰", "仟"};
    static const char* const kGroup[] = {"", "万", "亿"};
    const bool negative = !total.empty() && total.front() == '-';
    if (negative) total.remove_prefix(1);
    const auto point = total.find('.');
    const std::string whole(total.substr(0, point));
    std::string decimals(point == std::string_view::npos ? "" : total.substr(point + 1));
    decimals.resize(std::max<std::size_t>(decimals.size(), 3), '0');
    unsigned long long fen = std::stoull(whole + decimals.substr(0, 2));
    if (decimals[2] >= '5') ++fen;  // half away from zero
    if (fen >= 100'000'000'000'000ULL) return "";
    if (fen == 0) return "人民币零元整";

    std::string out = negative ? "人民币负" : "人民币";
    bool zeros = false;  // zeros are waiting for a non-zero digit
    if (fen >= 100) {
        const std::string yuan = std::to_string(fen / 100);
        bool groupHasDigit = false;
        for (std::size_t i = 0; i < yuan.size(); ++i) {
            const std::size_t place = yuan.size() - 1 - i;
            const int d = yuan[i] - '0';
            if (d == 0) {
                zeros = true;
            } else {
                if (zeros) out += "零";
                out += kDigit[d];
                out += kPlace[place % 4];
                zeros = false;
                groupHasDigit = true;
            }
            if (place % 4 == 0 && place > 0) {
                if (groupHasDigit) {
                    out += kGroup[place / 4];
                    zeros = false;  // zeros that end a 万 or 亿 group are not read
                }
                groupHasDigit = false;
            }
        }
        out += "元";
    }
    const int jiao = fen / 10 % 10;
    const int cents = fen % 10;
    if (jiao == 0 && cents == 0) out += "整";
    if (jiao != 0) out += std::string(zeros ? "零" : "") + kDigit[jiao] + "角";
    if (cents != 0) out += std::string(jiao == 0 && fen >= 100 ? "零" : "") + kDigit[cents] + "分";
    return out;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y年%m月%d日", &local);
    return buffer;
}

class PrintedBill : public ::testing::Test {
protected:
    PrintedBill() {
        options.cacheRoot = scratch.path() + "/cache";
        options.displayCommand = {testing::writeDisplayRecorder(scratch.path())};
    }

    ~PrintedBill() override {
        EXPECT_TRUE(testing::processesMentioning(options.cacheRoot).empty())
            << "an office was left running";
    }

    // Exports `sheet` into a fresh copy of the template in `folder`; returns
    // the workbook's path, or "" when the export failed.
    std::string exportInto(const BillSheet& sheet, const std::string& folder) {
        fs::create_directories(folder);
        const std::string workbook = testing::copyTemplate(folder);
        LibreOfficeSpreadsheet office(options);
        ExportCounter counter = 0;
        const auto failure = Command4_Click(sheet, counter, {{office, workbook}, {}});
        EXPECT_FALSE(failure.has_value()) << failure->text;
        return failure ? "" : workbook;
    }

    static ReadCell at(const ReadSheet& read, int row, int column) {
        if (row > static_cast<int>(read.size())) return {};
        const auto& r = read[row - 1];
        return column <= static_cast<int>(r.size()) ? r[column - 1] : ReadCell{};
    }

    testing::ScratchFolder scratch;
    LibreOfficeOptions options;
};

TEST_F(PrintedBill, TotalAmountInCapitals) {
    struct Case {
        const char* total;     // the text written into (13, 6)
        const char* expected;  // nullptr: as the converter above writes it
    };
    const Case cases[] = {
        {"0.0100", "人民币壹分"},
        {"0.1000", "人民币壹角"},
        {"1.0000", "人民币壹元整"},
        {"10.0500", "人民币壹拾元零伍分"},
        {"100.5000", "人民币壹佰元零伍角"},
        {"1005.0000", "人民币壹仟零伍元整"},
        {"765.8200", "人民币柒佰陆拾伍元捌角贰分"},
        {"10000.0000", "人民币壹万元整"},
        {"100000000.0000", "人民币壹亿元整"},
        {"123456789.1200", "人民币壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"},
        {"0.0000", "人民币零元整"},
        {"-1.0000", "人民币负壹元整"},
        {"24645.4100", nullptr},
        {"107000.5300", nullptr},
        {"100010000.0000", nullptr},
        {"110001000.0000", nullptr},
        {"100001000.0000", nullptr},
        {"99999999.9999", nullptr},  // rounds up to 壹亿
        {"999999999999.99", nullptr},
        {"1000000000000", ""},      // 1万亿: beyond the groups
        {"", ""},                   // a zero total, blanked
        {"abc", ""},                // text that is no number
        {"123456789012.3456", ""},  // too many digits for a number: text
    };
    std::vector<std::string> workbooks;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        BillSheet sheet;
        sheet.set(Field::Text9, 0, fromUtf8(cases[i].total));
        workbooks.push_back(exportInto(sheet, scratch.path() + "/case-" + std::to_string(i)));
    }
    const auto read = testing::readBackAll(workbooks, scratch.path());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string("total \"") + c.total + "\"");
        const std::string expected = c.expected ? c.expected : capitalsOf(c.total);
        EXPECT_EQ(at(read[i], 15, 2).shown, expected);
        if (c.expected && !expected.empty()) {
            EXPECT_EQ(capitalsOf(c.total), expected) << "the converter disagrees";
        }
    }
}

TEST_F(PrintedBill, WorkedExampleOnOnePage) {
    BillSheet sheet;
    connectZeroBlanking(sheet);
    for (const auto& [field, text] : probe::readCase("worked_example.in"))
        if (isLineColumn(field.field)) sheet.set(field, text);
    sheet.set(Field::Text10, 0, u"建阳区鑫源木业有限公司");
    sheet.set(Field::Text14, 0, u"王师傅");
    ASSERT_FALSE(Timer1_Timer(sheet).has_value());

    const std::string dayBefore = today();
    const std::string workbook = exportInto(sheet, scratch.path() + "/worked");
    ASSERT_FALSE(workbook.empty());
    const ReadSheet read = testing::readBack(workbook, scratch.path());
    const std::string dayAfter = today();

    // The totals in the formats of their columns, both as numbers.
    EXPECT_EQ(at(read, 13, 5).shown, "0.6610");
    EXPECT_FALSE(at(read, 13, 5).text);
    EXPECT_EQ(at(read, 13, 6).shown, "765.82");
    EXPECT_FALSE(at(read, 13, 6).text);
    EXPECT_EQ(at(read, 15, 2).shown, "人民币柒佰陆拾伍元捌角贰分");
    const std::string date = at(read, 2, 6).shown;
    EXPECT_TRUE(date == dayBefore || date == dayAfter) << date;
    // The template's own texts around them.
    const struct {
        int row, column;
        const char* text;
    } fixed[] = {
        {2, 5, "日期"}, {13, 4, "合计"}, {15, 1, "大写金额"}, {17, 1, "经手人"}, {17, 5, "收货人"}};
    for (const auto& f : fixed) EXPECT_EQ(at(read, f.row, f.column).shown, f.text);

    const std::string pdfFolder = scratch.path() + "/pdf";
    ASSERT_TRUE(testing::convertWithOffice(workbook, "pdf", pdfFolder, scratch.path()));
    const std::string pdf = pdfFolder + "/Tarnel账单.pdf";
    EXPECT_EQ(testing::pdfPages(pdf), 1);
    // tools/printed-bill.sh keeps the page to make the README's picture of it.
    if (const char* keep = std::getenv("CUBRIX_KEEP_PRINTED_PAGE"))
        std::filesystem::copy_file(pdf, keep, std::filesystem::copy_options::overwrite_existing);
}

}  // namespace
}  // namespace cubrix
