#include "app/spreadsheet_backend.h"

#if defined(CUBRIX_HAVE_EXCEL)
#include "platform/excel/excel_spreadsheet.h"
#elif defined(CUBRIX_HAVE_LIBREOFFICE)
#include "platform/libreoffice/libreoffice_spreadsheet.h"
#endif

namespace cubrix {
namespace {

// A build without any backend: every export says the application cannot start.
class NoSpreadsheet : public Spreadsheet {
public:
    void createInstance(InstanceUse) override {
        throw SpreadsheetFailure(SpreadsheetError::CannotStart, 429,
                                 "built without a spreadsheet backend");
    }
    void openWorkbook(const std::string&) override {}
    void selectSheet(std::u16string_view) override {}
    void setCell(int, int, const CellValue&) override {}
    void save() override {}
    void closeAll() override {}
    void quit() override {}
    void show() override {}
    void release() noexcept override {}
};

}  // namespace

std::unique_ptr<Spreadsheet> makeSpreadsheet() {
#if defined(CUBRIX_HAVE_EXCEL)
    return std::make_unique<ExcelSpreadsheet>();
#elif defined(CUBRIX_HAVE_LIBREOFFICE)
    return std::make_unique<LibreOfficeSpreadsheet>();
#else
    return std::make_unique<NoSpreadsheet>();
#endif
}

}  // namespace cubrix
