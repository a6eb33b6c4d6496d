#include "export/export_messages.h"

#include "bill/failure.h"
#include "bill/utf8.h"

namespace cubrix {
namespace {

constexpr const char* kBillKept = "窗口中的账单没有改动。";
constexpr const char* kBillTemplate = "Tarnel账单.xls";

// The programs the export drives on this system, as the operator installs
// them, and how one that refuses every call is ended by hand.
#ifdef _WIN32
constexpr const char* kSpreadsheetPrograms = "Microsoft Excel 或 WPS Office";
constexpr const char* kEndByHand =
    "请在任务管理器中结束电子表格程序（Excel 为 EXCEL.EXE，WPS 为 et.exe 或 wpsoffice.exe）";
#else
constexpr const char* kSpreadsheetPrograms = "LibreOffice Calc";
constexpr const char* kEndByHand = "请结束电子表格程序";
#endif

std::string cannotStartText(const std::vector<std::string>& tried) {
    std::string text = "无法启动电子表格程序。";
    if (tried.empty())
        return text + "请确认 " + kSpreadsheetPrograms + " 已正确安装，然后再次打印。";
    text += "依次试过：";
    for (std::size_t i = 0; i < tried.size(); ++i) text += (i ? "、" : "") + tried[i];
    return text + "。请安装 " + kSpreadsheetPrograms + "，然后再次打印。";
}

}  // namespace

std::string exportFailureText(SpreadsheetError kind, const std::string& path,
                              const std::string& detail, const std::vector<std::string>& tried) {
    std::string text;
    switch (kind) {
        case SpreadsheetError::CannotStart:
            text = cannotStartText(tried);
            break;
        case SpreadsheetError::FileMissing:
            text = "找不到账单工作簿：" + path + "\n请把账单模板放到这个位置，然后再次打印。";
            break;
        case SpreadsheetError::Damaged:
            // Printing again meets the same file: it has to be replaced.
            text = "账单工作簿是空的、已损坏，或不是电子表格工作簿：" + path +
                   "\n这个文件没有改动。请用账单模板 " + kBillTemplate +
                   " 替换它（放到同一位置），然后再次打印。";
            break;
        case SpreadsheetError::SheetMissing:
            text = "账单工作簿中没有名为“Tarnel账单”的工作表：" + path +
                   "\n请换用正确的账单模板，然后再次打印。";
            break;
        case SpreadsheetError::WorkbookLocked:
            text = "账单工作簿正在别处打开，或是只读的：" + path +
                   "\n请先关闭*Tarnel账单*（并确认文件可写），然后再次打印。";
            break;
        case SpreadsheetError::NoRoom:
            text = "磁盘空间不足，账单工作簿无法保存：" + path +
                   "\n磁盘上的工作簿没有改动。请在这个磁盘上腾出空间（例如删除不需要的文件），"
                   "然后再次打印。";
            break;
        case SpreadsheetError::OfficeClosed:
            // Usually a crash of the office; a new instance is started anew.
            text = "电子表格程序" + (tried.empty() ? std::string() : "（" + tried.front() + "）") +
                   "在导出时意外关闭，这次导出已放弃。请再次打印。";
            break;
        case SpreadsheetError::TimedOut:
            text = "电子表格程序长时间没有响应，已被结束，这次导出已放弃。请再次打印。";
            break;
        case SpreadsheetError::Unresponsive:
            // It may still hold the workbook: the operator may have to end it.
            text = std::string("电子表格程序长时间没有响应，这次导出已放弃。请稍候再次打印；") +
                   "如果仍然没有响应，" + kEndByHand + "，然后再次打印。";
            break;
        case SpreadsheetError::Other:
            text = "导出账单时出错。请再次打印。";
            break;
    }
    text += std::string("\n") + kBillKept;
    // What the office said is for a technician, on a line of its own.
    const bool technical = kind == SpreadsheetError::Other || kind == SpreadsheetError::Damaged ||
                           kind == SpreadsheetError::NoRoom ||
                           kind == SpreadsheetError::OfficeClosed;
    if (technical && !detail.empty()) text += std::string("\n") + kTechnicalDetail + detail;
    return text;
}

std::string counterLimitText() {
    return std::string("本次运行的打印次数已达上限（32767 次）。请关闭程序后重新打开，再打印。\n") +
           kBillKept;
}

std::string textTooLongText(std::u16string_view text, std::size_t limit) {
    constexpr std::size_t kQuoted = 12;
    const bool cut = text.size() > kQuoted;
    std::u16string start(text.substr(0, kQuoted));
    // Never end the quotation inside a surrogate pair.
    if (cut && !start.empty() && start.back() >= 0xD800 && start.back() <= 0xDBFF) start.pop_back();
    return "账单中有一栏的文字太长（" + std::to_string(text.size()) + " 个字），以“" +
           toUtf8(start) + (cut ? "…" : "") + "”开头。工作簿的一个单元格最多只能放 " +
           std::to_string(limit) +
           " 个字，多出的字会丢失，所以没有导出。请缩短这一栏，然后再次打印。\n" + kBillKept;
}

std::string uncomputedBillText(int row) {
    const std::string where =
        row >= 0 ? "第 " + std::to_string(row + 1) + " 行的数字太大" : "合计太大";
    const std::string mend = row >= 0 ? "这一行" : "各行";
    return where + "，无法计算，这张账单不能导出，也不能打印。请改正" + mend +
           "的数字，然后再试。\n" + kBillKept;
}

}  // namespace cubrix
