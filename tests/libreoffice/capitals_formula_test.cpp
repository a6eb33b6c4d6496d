// The amount in capitals the program draws on its own page, held to the bill
// workbook's formula as LibreOffice evaluates it: the formulas of the
// template's capitals row, copied once per total into a generated sheet.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "bill/amount_in_capitals.h"
#include "bill/utf8.h"
#include "office_test_support.h"

namespace cubrix {
namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The template's capitals row: B15 first, then the hidden steps H15 to Q15,
// as written in the file (XML-escaped).
std::vector<std::string> capitalsRowFormulas() {
    const std::string fods = readFile(CUBRIX_WORKBOOK_SOURCE);
    const auto row = fods.find("table:style-name=\"capitalsRow\"");
    const auto end = fods.find("</table:table-row>", row);
    std::vector<std::string> formulas;
    const std::regex formula("table:formula='([^']*)'");
    const std::string part = fods.substr(row, end - row);
    for (auto it = std::sregex_iterator(part.begin(), part.end(), formula);
         it != std::sregex_iterator(); ++it)
        formulas.push_back((*it)[1]);
    return formulas;
}

// Totals as the window writes them (four decimals): every fen up to 20 yuan,
// a fixed pseudo-random draw of long figures rich in zeros (inner zeros, 10万,
// 1亿, jiao without fen and fen without jiao), halves of a fen, negatives and
// the edge of 1万亿.
std::vector<std::string> totals() {
    std::vector<std::string> out;
    char text[64];
    for (int fen = 0; fen <= 2000; ++fen) {
        std::snprintf(text, sizeof text, "%d.%02d00", fen / 100, fen % 100);
        out.push_back(text);
    }
    std::mt19937_64 draw(20261208);
    for (int i = 0; i < 2500; ++i) {
        const int digits = 3 + static_cast<int>(draw() % 12);  // 1 to 12 yuan digits
        std::string figure;
        for (int d = 0; d < digits; ++d)
            figure += draw() % 2 ? '0' : static_cast<char>('1' + draw() % 9);
        if (figure[0] == '0') figure[0] = '1';
        std::string t = figure.substr(0, digits - 2) + "." + figure.substr(digits - 2) +
                        (draw() % 4 ? "00" : std::to_string(10 + draw() % 90));
        if (draw() % 8 == 0) t = "-" + t;
        out.push_back(t);
    }
    for (const char* t :
         {"100000.0000", "100000000.0000", "100010000.0000", "110001000.0000", "0.0050", "0.0150",
          "0.2850", "1.0050", "2.6750", "1.1150", "8.3450", "1234567.8950", "-0.0049", "-0.0050",
          "999999999999.9900", "999999999999.9949", "999999999999.9950", "1000000000000.0000"})
        out.push_back(t);
    return out;
}

std::string generatedSheet(const std::vector<std::string>& formulas,
                           const std::vector<double>& values) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:of=\"urn:oasis:names:tc:opendocument:xmlns:of:1.2\" office:version=\"1.3\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">"
        "<office:body><office:spreadsheet><table:table table:name=\"t\">\n";
    const std::regex step(R"(\[\.([A-Q])15\])");
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string row = std::to_string(i + 1);
        auto at = [&](const std::string& f) {
            std::string moved = std::regex_replace(f, step, "[.$01" + row + "]");
            moved = std::regex_replace(moved, std::regex(R"(\[\.F13\])"), "[.F" + row + "]");
            return "<table:table-cell table:formula='" + moved + "'/>";
        };
        char value[64];
        std::snprintf(value, sizeof value, "%.17g", values[i]);
        xml += "<table:table-row><table:table-cell/>" + at(formulas[0]) +
               "<table:table-cell table:number-columns-repeated=\"3\"/>"
               "<table:table-cell office:value-type=\"float\" office:value=\"" +
               value + "\"/><table:table-cell/>";
        for (std::size_t f = 1; f < formulas.size(); ++f) xml += at(formulas[f]);
        xml += "</table:table-row>\n";
    }
    return xml + "</table:table></office:spreadsheet></office:body></office:document>\n";
}

TEST(CapitalsFormula, AgreesWithTheWorkbookOverThousandsOfTotals) {
    const auto formulas = capitalsRowFormulas();
    ASSERT_EQ(formulas.size(), 11u) << "B15 and the ten steps H15:Q15";
    const auto texts = totals();
    std::vector<double> values;
    for (const auto& t : texts) values.push_back(std::strtod(t.c_str(), nullptr));

    testing::ScratchFolder scratch;
    const std::string sheet = scratch.path() + "/capitals.fods";
    std::ofstream(sheet) << generatedSheet(formulas, values);
    const testing::ReadSheet read = testing::readBackFile(sheet, scratch.path());
    ASSERT_EQ(read.size(), values.size());

    int disagreements = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string workbook = read[i].size() > 1 ? read[i][1].shown : "";
        const std::string program = toUtf8(amountInCapitals(values[i]));
        if (workbook != program && ++disagreements <= 20)
            ADD_FAILURE() << texts[i] << ": workbook " << workbook << ", program " << program;
    }
    EXPECT_EQ(disagreements, 0) << "of " << values.size() << " totals";
}

}  // namespace
}  // namespace cubrix
