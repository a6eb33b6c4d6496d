#include "export/bill_export.h"

#include <limits>

#include "bill/recalculation.h"
#include "export/cell_map.h"
#include "export/cell_value.h"
#include "export/export_messages.h"

namespace cubrix {
namespace {

struct CounterAtLimit {};

void exportPass(const BillSheet& sheet, ExportCounter& counter, const ExportEnvironment& env) {
    if (counter == std::numeric_limits<ExportCounter>::max()) throw CounterAtLimit{};
    ++counter;
    if (counter == 1 && env.showReminder) env.showReminder();

    Spreadsheet& app = env.target.spreadsheet;
    app.createInstance(InstanceUse::Work);
    app.openWorkbook(env.target.workbookPath);
    app.selectSheet(kBillSheetName);
    for (const CellTarget& cell : cellMap())
        app.setCell(cell.row, cell.column, cellValueFor(sheet.text(cell.field), cell.numeric));
    app.save();
    app.closeAll();
    app.quit();
    app.release();

    // The saved workbook in a new instance that the operator sees and owns.
    app.createInstance(InstanceUse::Display);
    app.openWorkbook(env.target.workbookPath);
    app.show();
    app.release();
}

}  // namespace

std::optional<Failure> Command4_Click(const BillSheet& sheet, ExportCounter& counter,
                                      const ExportEnvironment& env) {
    // A cell would keep only the beginning of such a text: nothing is
    // exported rather than a bill with a text cut short.
    for (const CellTarget& cell : cellMap()) {
        const std::u16string& text = sheet.text(cell.field);
        if (text.size() > kMaxCellText)
            return Failure{kTextTooLongNumber, textTooLongText(text, kMaxCellText)};
    }
    // The workbook would get the figures of an earlier bill where this one's
    // cannot be computed.
    if (const auto uncomputed = passFailure(sheet))
        return Failure{uncomputed->number, uncomputedBillText(uncomputed->row), uncomputed->row};
    Failure last;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            exportPass(sheet, counter, env);
            return std::nullopt;
        } catch (const CounterAtLimit&) {
            last = {kCounterLimitNumber, counterLimitText()};
        } catch (const SpreadsheetFailure& f) {
            last = {f.number(),
                    exportFailureText(f.kind(), env.target.workbookPath, f.what(), f.tried())};
        } catch (const std::exception& e) {
            last = {0,
                    exportFailureText(SpreadsheetError::Other, env.target.workbookPath, e.what())};
        } catch (...) {  // a backend's own exception type: still this export's failure
            last = {0, exportFailureText(SpreadsheetError::Other, env.target.workbookPath, "")};
        }
        // An abandoned pass ends its hidden instance before anything else runs.
        env.target.spreadsheet.release();
    }
    return last;
}

}  // namespace cubrix
