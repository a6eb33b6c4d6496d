#include "export/bill_export.h"

#include <gtest/gtest.h>

#include <string>

#include "bill/recalculation.h"
#include "bill/zero_blanking.h"
#include "export/cell_value.h"
#include "fake_spreadsheet.h"

namespace cubrix {
namespace {

using testing::FakeSpreadsheet;

constexpr const char* kPath = "/home/op/Documents/Tarnel账单.xls";

class BillExport : public ::testing::Test {
protected:
    BillExport() {
        connectZeroBlanking(sheet);
        sheet.set(Field::Text1, 0, u"4.2");
        sheet.set(Field::Text2, 0, u"150");
        sheet.set(Field::Text3, 0, u"25");
        sheet.set(Field::Text4, 0, u"1");
        sheet.set(Field::Text6, 0, u"1000");
        sheet.set(Field::Text10, 0, u"=HYPERLINK(\"x\")");
        sheet.set(Field::Text11, 0, u"13800138000");
        sheet.set(Field::Text12, 0, u"6222021234567890123");
        sheet.set(Field::Text13, 0, u"林场");
        sheet.set(Field::Text14, 0, u"王师傅");
        sheet.set(Field::Combo1, 0, u"电话");
        sheet.set(Field::Combo3, 0, u"公司名称");
        sheet.set(Field::Combo4, 0, u"联系电话");
        Timer1_Timer(sheet);
    }

    std::optional<Failure> click() {
        return Command4_Click(sheet, counter, {{fake, kPath}, [this] { ++reminders; }});
    }

    BillSheet sheet;
    FakeSpreadsheet fake;
    ExportCounter counter = 0;
    int reminders = 0;
};

// The order the cells are written in: the line rows cell by cell, then the
// header, the measurer, the totals and the two captions.
std::vector<std::string> goodPass() {
    std::vector<std::string> calls = {"A:work", std::string("C:") + kPath, "D:Tarnel账单"};
    auto cell = [&](int row, int column) {
        calls.push_back("E:" + std::to_string(row) + "," + std::to_string(column));
    };
    for (int row = 5; row <= 12; ++row)
        for (int column = 1; column <= 7; ++column) cell(row, column);
    const int rest[][2] = {{3, 2},  {3, 6},  {14, 6}, {14, 2}, {13, 2},
                           {13, 5}, {13, 6}, {14, 5}, {3, 5}};
    for (const auto& [row, column] : rest) cell(row, column);
    for (const char* c : {"F", "G", "H", "R", "A:display"}) calls.push_back(c);
    calls.push_back(std::string("C:") + kPath);
    calls.push_back("I");
    calls.push_back("R");
    return calls;
}

TEST_F(BillExport, GoodExportCallsInOrderAndLeavesOneShownInstance) {
    EXPECT_FALSE(click().has_value());
    EXPECT_EQ(fake.calls, goodPass());
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(reminders, 1);
    EXPECT_EQ(fake.instancesAlive, 0);
    EXPECT_EQ(fake.instancesShown, 1);
    // Later clicks show no reminder.
    fake.calls.clear();
    EXPECT_FALSE(click().has_value());
    EXPECT_EQ(fake.calls, goodPass());
    EXPECT_EQ(reminders, 1);
    EXPECT_EQ(counter, 2);
}

TEST_F(BillExport, ReadsTheBillOnlyOnceTheReminderIsDismissed) {
    // The window keeps recalculating while the reminder is up.
    const auto failure = Command4_Click(
        sheet, counter, {{fake, kPath}, [this] { sheet.set(Field::Text14, 0, u"李四"); }});
    ASSERT_FALSE(failure.has_value());
    EXPECT_EQ(std::get<std::u16string>(fake.cells.at({13, 2})), u"李四");
}

TEST_F(BillExport, WritesAll65CellsAsShown) {
    ASSERT_FALSE(click().has_value());
    ASSERT_EQ(fake.cells.size(), 65u);
    auto number = [&](int r, int c) { return std::get<double>(fake.cells.at({r, c})); };
    auto text = [&](int r, int c) { return std::get<std::u16string>(fake.cells.at({r, c})); };
    EXPECT_EQ(number(5, 1), 4.2);
    EXPECT_EQ(number(5, 5), 0.0158);  // the volume as shown, not 0.01575
    EXPECT_EQ(number(5, 7), 15.8);
    EXPECT_EQ(number(13, 5), 0.0158);  // total volume under the volumes
    EXPECT_EQ(number(13, 6), 15.8);    // total amount in column 6, not 7
    EXPECT_EQ(text(6, 5), u"");        // blanked fields still written, empty
    EXPECT_EQ(text(12, 7), u"");
    EXPECT_EQ(text(3, 2), u"=HYPERLINK(\"x\")");  // literal text, never a formula
    EXPECT_EQ(text(3, 5), u"车号");
    EXPECT_EQ(text(3, 6), u"13800138000");  // party numbers keep every digit
    EXPECT_EQ(text(14, 6), u"6222021234567890123");
    EXPECT_EQ(text(14, 2), u"林场");
    EXPECT_EQ(text(13, 2), u"王师傅");
    EXPECT_EQ(text(14, 5), u"电话");
    // The captions of Combo3 and Combo4 are written nowhere.
    for (const auto& [rc, value] : fake.cells) {
        if (const auto* t = std::get_if<std::u16string>(&value)) {
            EXPECT_NE(*t, u"公司名称");
            EXPECT_NE(*t, u"联系电话");
        }
        EXPECT_TRUE(rc.first == 3 || (rc.first >= 5 && rc.first <= 14));
        EXPECT_TRUE(rc.second >= 1 && rc.second <= 7);
    }
}

struct CellCase {
    std::u16string text;
    bool numeric;
    std::variant<double, std::u16string> value;
};

TEST(CellValue, NumbersOnlyForPlainDecimalBillNumbers) {
    const CellCase cases[] = {
        {u"0.0158", true, 0.0158},
        {u"750.00", true, 750.0},
        {u"-1.5", true, -1.5},
        {u"12", true, 12.0},
        {u"", true, u""},
        {u"12m", true, u"12m"},
        {u"1 200", true, u"1 200"},
        {u"1e5", true, u"1e5"},
        {u".5", true, 0.5},
        {u"5.", true, 5.0},
        {u"+5", true, 5.0},
        {u"-", true, u"-"},
        {u".", true, u"."},
        {u"1.2.3", true, u"1.2.3"},
        {u"123456789012.0000", true, 123456789012.0},      // trailing decimals lose no digit
        {u"1234567890123450", true, u"1234567890123450"},  // an integer's zeros are digits
        {u"1234567890123456.0", true, u"1234567890123456.0"},
        {u"=1+1", true, u"=1+1"},
        {u"3,5", true, u"3,5"},
        {u"1234567890123456", true, u"1234567890123456"},  // 16 digits: kept as typed
        {u"0.000000000000000001", true, 1e-18},
        {u"0.0000", true, 0.0},
        {u"-0", true, u"-0"},  // would show as 0
        {u"0." + std::u16string(400, u'0') + u"1", true, u"0." + std::u16string(400, u'0') + u"1"},
        {u"0." + std::u16string(315, u'0') + u"1", true, u"0." + std::u16string(315, u'0') + u"1"},
        {u"13800138000", false, u"13800138000"},
        {u"4.2", false, u"4.2"},
    };
    for (const auto& c : cases) {
        const CellValue v = cellValueFor(c.text, c.numeric);
        EXPECT_EQ(v.index(), c.value.index()) << toUtf8(c.text);
        EXPECT_EQ(v, CellValue(c.value)) << toUtf8(c.text);
    }
}

struct FailCase {
    char op;
    int nth;  // which call of that operation fails
};

TEST_F(BillExport, FirstFailureAtAnyOperationIsRepeatedOnce) {
    const FailCase cases[] = {{'A', 1}, {'C', 1}, {'D', 1}, {'E', 1}, {'E', 65}, {'F', 1},
                              {'G', 1}, {'H', 1}, {'A', 2}, {'C', 2}, {'I', 1}};
    for (const auto& c : cases) {
        FakeSpreadsheet f;
        f.failAt(c.op, c.nth);
        ExportCounter n = 0;
        int shownReminders = 0;
        const auto failure = Command4_Click(sheet, n, {{f, kPath}, [&] { ++shownReminders; }});
        const std::string what = std::string(1, c.op) + std::to_string(c.nth);
        EXPECT_FALSE(failure.has_value()) << what;
        EXPECT_EQ(n, 2) << what;
        EXPECT_EQ(shownReminders, 1) << what;
        EXPECT_EQ(f.instancesShown, 1) << what;
        EXPECT_EQ(f.instancesAlive, 0) << what << ": a hidden instance was left running";
        // The repeat is a whole good pass at the end of the record.
        const auto good = goodPass();
        ASSERT_GE(f.calls.size(), good.size()) << what;
        EXPECT_TRUE(std::equal(good.begin(), good.end(), f.calls.end() - good.size())) << what;
    }
}

TEST_F(BillExport, BothPassesFailingTellsTheOperatorAndKeepsTheBill) {
    struct Case {
        char op;
        SpreadsheetError kind;
        const char* says;
    };
    const Case cases[] = {{'A', SpreadsheetError::CannotStart, "无法启动电子表格程序"},
                          {'C', SpreadsheetError::FileMissing, "找不到账单工作簿"},
                          {'D', SpreadsheetError::SheetMissing, "没有名为“Tarnel账单”的工作表"},
                          {'F', SpreadsheetError::WorkbookLocked, "请先关闭*Tarnel账单*"},
                          {'E', SpreadsheetError::TimedOut, "已被结束"},
                          {'E', SpreadsheetError::Unresponsive, "仍然没有响应"},
                          {'H', SpreadsheetError::Other, "injected"}};
    for (const auto& c : cases) {
        FakeSpreadsheet f;
        f.failAt(c.op, 1, c.kind, true);
        std::vector<std::u16string> before;
        for (int s = 0; s < kFieldCount; ++s) before.push_back(sheet.text(fieldAt(s)));
        ExportCounter n = 0;
        const auto failure = Command4_Click(sheet, n, {{f, kPath}, {}});
        ASSERT_TRUE(failure.has_value()) << c.says;
        EXPECT_EQ(failure->number, 1000 + c.op);
        EXPECT_NE(failure->text.find(c.says), std::string::npos) << failure->text;
        EXPECT_NE(failure->text.find("窗口中的账单没有改动"), std::string::npos);
        EXPECT_EQ(n, 2);
        EXPECT_EQ(f.instancesAlive, 0) << c.says;
        EXPECT_EQ(f.calls.back(), "R") << c.says;  // everything released
        for (int s = 0; s < kFieldCount; ++s) EXPECT_EQ(sheet.text(fieldAt(s)), before[s]);
    }
}

TEST_F(BillExport, ABackendsOwnExceptionIsStillAFailureOfTheExport) {
    fake.foreignFailure = true;
    fake.failAt('C', 1, SpreadsheetError::Other, true);
    const auto failure = click();
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->text.find("导出账单时出错"), std::string::npos);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(fake.instancesAlive, 0);
}

TEST_F(BillExport, CounterLimitIsReportedNotFatal) {
    counter = 32766;
    EXPECT_FALSE(click().has_value());  // the 32767th pass still works
    EXPECT_EQ(counter, 32767);
    fake.calls.clear();
    const auto failure = click();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, 6);
    EXPECT_NE(failure->text.find("32767"), std::string::npos);
    EXPECT_EQ(counter, 32767);
    EXPECT_EQ(fake.count('A'), 0);  // no application was started
    EXPECT_EQ(reminders, 0);
}

// A cell holds 32767 characters: a longer text is refused before anything
// starts, never cut short in the workbook. So is a bill with a figure that
// cannot be computed: its other figures would print without it.
TEST_F(BillExport, ABillThatWouldPrintWrongIsRefusedWhole) {
    struct Case {
        const char* what;
        FieldRef field;
        std::u16string text;
        bool exported;
        const char* quoted;  // what the message names: a text's beginning, a line
        int number = 5;
    };
    const std::u16string emojiAt11 = u"abcdefghijk\U0001F332" + std::u16string(32767, u'x');
    const Case cases[] = {
        {"exactly a cell's worth", {Field::Text10}, std::u16string(32767, u'林'), true, ""},
        {"one more in a party text",
         {Field::Text13},
         std::u16string(32768, u'林'),
         false,
         "“林林林林林林林林林林林林…”"},
        {"in a line field",
         {Field::Text1, 7},
         u"4" + std::u16string(40000, u'2'),
         false,
         "“422222222222…”"},
        {"a caption", {Field::Combo2}, std::u16string(32768, u'号'), false, "号…”"},
        {"a surrogate pair at the cut", {Field::Text14}, emojiAt11, false, "“abcdefghijk…”"},
        {"a length beyond a double", {Field::Text1, 2}, u"1E400", false, "第 3 行", 6},
        {"a price whose amount overflows", {Field::Text6, 7}, u"1E308", false, "第 8 行", 6},
        {"a price that is only large", {Field::Text6, 7}, u"1E300", true, ""},
    };
    for (const Case& c : cases) {
        BillSheet bill;
        connectZeroBlanking(bill);
        bill.set(Field::Text1, 7, u"1000");  // 1000 m³ in the last line
        bill.set(Field::Text2, 7, u"1000");
        bill.set(Field::Text3, 7, u"1000");
        bill.set(Field::Text4, 7, u"1000");
        bill.set(c.field, c.text);
        // No pass has run: the refusal goes by the texts keyed alone.
        FakeSpreadsheet app;
        ExportCounter n = 0;
        int shown = 0;
        const auto failure = Command4_Click(bill, n, {{app, kPath}, [&] { ++shown; }});
        EXPECT_EQ(!failure.has_value(), c.exported) << c.what;
        if (c.exported) {
            EXPECT_EQ(app.cells.size(), 65u) << c.what;
            continue;
        }
        EXPECT_EQ(failure->number, c.number) << c.what;
        EXPECT_NE(failure->text.find(c.quoted), std::string::npos) << c.what << failure->text;
        if (c.number == 5) {
            EXPECT_NE(failure->text.find(std::to_string(c.text.size()) + " 个字"),
                      std::string::npos)
                << c.what;
        }
        EXPECT_TRUE(app.calls.empty()) << c.what;
        EXPECT_EQ(n, 0) << c.what;
        EXPECT_EQ(shown, 0) << c.what;
    }
}

}  // namespace
}  // namespace cubrix
