// Excel driven through COM late binding (IDispatch), as a script would drive
// it: no type library, so any Excel version that answers to the ProgID works.
// Use one object from one thread; it joins that thread to COM while an
// instance is held.
#pragma once

#include <oaidl.h>
#include <objbase.h>

#include <functional>
#include <optional>
#include <string>

#include "export/spreadsheet.h"
#include "platform/excel/busy_retry.h"
#include "platform/excel/com_apartment.h"
#include "platform/excel/com_ptr.h"

namespace cubrix {

inline constexpr const wchar_t* kExcelProgId = L"Excel.Application";

class ExcelSpreadsheet : public Spreadsheet {
public:
    // Returns a new application object; throws com::ComError when it cannot.
    using Launcher = std::function<com::ComPtr<IDispatch>()>;

    // Starts a new out-of-process server of `progId` for every instance.
    explicit ExcelSpreadsheet(std::wstring progId = kExcelProgId);
    // Any object with Excel's members will do (tests hand in a recorder).
    explicit ExcelSpreadsheet(Launcher launch);
    ~ExcelSpreadsheet() override { release(); }

    void createInstance(InstanceUse use) override;
    void openWorkbook(const std::string& pathUtf8) override;
    void selectSheet(std::u16string_view name) override;
    void setCell(int row, int column, const CellValue& value) override;
    void save() override;
    void closeAll() override;
    void quit() override;
    void show() override;
    void release() noexcept override;

private:
    template <class Step>
    void step(SpreadsheetError kind, Step&& run);
    void endAbandoned() noexcept;

    Launcher launch_;
    std::optional<com::ComApartment> apartment_;
    std::optional<com::BusyRetry> busyRetry_;
    InstanceUse use_ = InstanceUse::Work;
    com::ComPtr<IDispatch> application_;
    com::ComPtr<IDispatch> workbooks_;
    com::ComPtr<IDispatch> workbook_;
    com::ComPtr<IDispatch> sheet_;
    std::u16string path_;  // of the open workbook
    bool quit_ = false;
    bool shown_ = false;
    bool unresponsive_ = false;  // a call was refused for longer than kBusyWaitMs
};

}  // namespace cubrix
