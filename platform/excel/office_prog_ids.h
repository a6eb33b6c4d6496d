// The spreadsheet programs that publish Excel's automation object model, in
// the order they are tried: Excel where it is installed, else WPS
// Spreadsheets (KET in current versions, ET in older ones). A WPS that
// registers itself as Excel is found through the first entry.
#pragma once

#include <array>

namespace cubrix {

struct Office {
    const wchar_t* progId;
    const char* name;  // as the operator knows the program (UTF-8)
};

inline constexpr std::array<Office, 3> kOfficeProgIds = {{
    {L"Excel.Application", "Microsoft Excel"},
    {L"KET.Application", "WPS 表格"},
    {L"ET.Application", "WPS 表格"},
}};

}  // namespace cubrix
