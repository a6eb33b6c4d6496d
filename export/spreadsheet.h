// The spreadsheet application as the export sees it: one application instance
// at a time, with the operations the bill export needs. Real backends drive
// LibreOffice Calc (UNO) or Excel (COM); tests use a recording fake.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace cubrix {

// What went wrong, as far as the operator can act on it.
enum class SpreadsheetError {
    CannotStart,     // the application cannot be started or does not answer
    FileMissing,     // no workbook at the path
    Damaged,         // the file there is empty, damaged or no spreadsheet workbook
    SheetMissing,    // the workbook has no sheet of that name
    WorkbookLocked,  // open in another window, read-only, or its folder is
    NoRoom,          // the save found no room on the disk (or over a quota)
    OfficeClosed,    // the application's process ended under a call
    TimedOut,        // an operation did not finish in time; the instance was ended
    Unresponsive,    // the application kept refusing calls; it was let go, not ended
    Other,
};

// Thrown by every operation that fails. `number` is the backend's code (an
// HRESULT, or the backend's own numbering). A backend that tries several
// applications in turn and could start none names them in `tried` (UTF-8, as
// the operator knows them), so that the operator knows what is missing; one
// whose application closed under a call names that one there.
class SpreadsheetFailure : public std::runtime_error {
public:
    SpreadsheetFailure(SpreadsheetError kind, int number, const std::string& detail,
                       std::vector<std::string> tried = {})
        : std::runtime_error(detail), kind_(kind), number_(number), tried_(std::move(tried)) {}
    SpreadsheetError kind() const { return kind_; }
    int number() const { return number_; }
    const std::vector<std::string>& tried() const { return tried_; }

private:
    SpreadsheetError kind_;
    int number_;
    std::vector<std::string> tried_;
};

// The hidden instance that fills and saves the workbook, or the one that
// shows it to the operator afterwards. Excel starts both alike; LibreOffice
// opens the shown workbook in an ordinary Calc window instead.
enum class InstanceUse { Work, Display };

// A cell gets a number or a literal text, never a formula.
using CellValue = std::variant<double, std::u16string>;

class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;

    virtual void createInstance(InstanceUse use) = 0;                       // new application
    virtual void openWorkbook(const std::string& pathUtf8) = 0;             // Workbooks.Open
    virtual void selectSheet(std::u16string_view name) = 0;                 // Worksheets(name)
    virtual void setCell(int row, int column, const CellValue& value) = 0;  // Cells(row, col) =
    virtual void save() = 0;                                                // Workbook.Save
    virtual void closeAll() = 0;                                            // Workbooks.Close
    virtual void quit() = 0;                                                // Application.Quit
    virtual void show() = 0;                                                // Visible = True

    // Drops every object held. A Work instance that has not quit is closed
    // without saving and ended, so no hidden process keeps the workbook; a
    // shown instance stays on screen for the operator.
    virtual void release() noexcept = 0;
};

}  // namespace cubrix
