// window-facts: the facts that scripts driving the real window need, printed
// from the program's own tables so that no script holds a copy of them.
//
//   window-facts              the window, its controls, the cell map, the offices
//   window-facts --messages   the openings of the texts an export shows
//
// One fact a line, tab-separated, its kind first; pixels at scale 1:
//   window   WIDTH HEIGHT
//   control  NAME LEFT TOP WIDTH HEIGHT CENTRE_X CENTRE_Y   (all 79, bottom of the stacking first)
//   cell     ROW COLUMN FIELD number|text                   (the 65, in the order written)
//   office   PROGID NAME                                    (in the order Windows tries them)
//   message  KIND TEXT
// A message's TEXT is its opening, up to its first full stop or colon, which
// every platform words alike; KIND is "reminder" or a SpreadsheetError name.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>

#include "app/form1_layout.h"
#include "bill/field.h"
#include "bill/utf8.h"
#include "export/cell_map.h"
#include "export/export_messages.h"
#include "export/spreadsheet.h"
#include "platform/excel/office_prog_ids.h"

namespace {

using namespace cubrix;

std::string narrow(const wchar_t* ascii) {
    std::string out;
    for (; *ascii; ++ascii) out += static_cast<char>(*ascii);
    return out;
}

// Up to and including the first "。" or "：".
std::string opening(const std::string& text) {
    std::size_t end = text.size();
    for (std::string_view stop : {"。", "："}) {
        const auto at = text.find(stop);
        if (at != std::string::npos) end = std::min(end, at + stop.size());
    }
    return text.substr(0, end);
}

void printWindow() {
    const QRect form = toPixels(kFormTwips);
    std::printf("window\t%d\t%d\n", form.width(), form.height());
    for (const ControlSpec& c : controlsBottomUp()) {
        const QRect r = toPixels(c.rect);
        std::printf("control\t%s\t%d\t%d\t%d\t%d\t%d\t%d\n", c.name.toUtf8().constData(), r.x(),
                    r.y(), r.width(), r.height(), r.x() + r.width() / 2, r.y() + r.height() / 2);
    }
    for (const CellTarget& cell : cellMap())
        std::printf("cell\t%d\t%d\t%s\t%s\n", cell.row, cell.column, fieldName(cell.field).c_str(),
                    cell.numeric ? "number" : "text");
    for (const Office& office : kOfficeProgIds)
        std::printf("office\t%s\t%s\n", narrow(office.progId).c_str(), office.name);
}

void printMessages() {
    std::printf("message\treminder\t%s\n", toUtf8(kPrintReminder).c_str());
    // An office that closed under a call is named: the first one Windows tries.
    const std::pair<SpreadsheetError, const char*> kinds[] = {
        {SpreadsheetError::CannotStart, "CannotStart"},
        {SpreadsheetError::FileMissing, "FileMissing"},
        {SpreadsheetError::Damaged, "Damaged"},
        {SpreadsheetError::SheetMissing, "SheetMissing"},
        {SpreadsheetError::WorkbookLocked, "WorkbookLocked"},
        {SpreadsheetError::NoRoom, "NoRoom"},
        {SpreadsheetError::OfficeClosed, "OfficeClosed"},
        {SpreadsheetError::TimedOut, "TimedOut"},
        {SpreadsheetError::Unresponsive, "Unresponsive"},
        {SpreadsheetError::Other, "Other"},
    };
    for (const auto& [kind, name] : kinds) {
        const auto text = exportFailureText(kind, "", "", {kOfficeProgIds.front().name});
        std::printf("message\t%s\t%s\n", name, opening(text).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view arg = argc > 1 ? argv[1] : "";
    if (argc > 2 || (argc == 2 && arg != "--messages")) {
        std::cerr << "usage: window-facts [--messages]\n";
        return 2;
    }
    if (arg == "--messages")
        printMessages();
    else
        printWindow();
    return 0;
}
