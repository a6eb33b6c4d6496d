// The UNO side of one hidden office: the connection, the documents it opened
// and the sheet being written. Every failure is thrown as a
// SpreadsheetFailure; the caller bounds the time of each call.
#pragma once

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ref.hxx>
#include <string>
#include <string_view>
#include <vector>

#include "export/spreadsheet.h"

namespace cubrix::lo {

class LockInteraction;

// This process's own UNO runtime, which every connection to an office goes
// through.
css::uno::Reference<css::uno::XComponentContext> localContext();

class UnoSession {
public:
    UnoSession();
    ~UnoSession();
    UnoSession(const UnoSession&) = delete;
    UnoSession& operator=(const UnoSession&) = delete;

    // One attempt at the office listening on `pipeName`: false while it does
    // not listen yet.
    bool connect(const std::string& pipeName);

    void load(const std::string& url);
    void selectSheet(std::u16string_view name);
    void setValue(int row, int column, double value);
    void setText(int row, int column, std::u16string_view text);
    void store();
    void closeDocuments() noexcept;
    // Asks the office to end; an office that is already gone counts as ended.
    void terminate();
    // Drops every reference into the office.
    void drop() noexcept;

private:
    css::uno::Reference<css::frame::XDesktop2> desktop_;
    std::vector<css::uno::Reference<css::lang::XComponent>> documents_;
    css::uno::Reference<css::sheet::XSpreadsheet> sheet_;
};

}  // namespace cubrix::lo
