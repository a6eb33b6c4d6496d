#include "platform/libreoffice/uno_session.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/task/ErrorCodeIOException.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <csignal>
#include <mutex>
#include <rtl/bootstrap.hxx>

#include "platform/libreoffice/libreoffice_failures.h"
#include "platform/libreoffice/lock_interaction.h"
#include "platform/libreoffice/office_install.h"

namespace cubrix::lo {

using namespace css;
using rtl::OUString;

namespace {

constexpr const char* kBillFilter = "MS Excel 97";  // keeps the workbook BIFF8 on store

// Error classes of ErrorCodeIOException codes that mean "may not write here"
// (bits 8..12 of the office's ErrCode).
constexpr int kErrClassShift = 8;
constexpr int kErrClassMask = 0x1f;
constexpr int kErrClassAccess = 5;
constexpr int kErrClassLocking = 7;
constexpr int kErrClassSpace = 9;
constexpr int kErrClassRead = 11;
constexpr int kErrClassWrite = 12;
constexpr int kErrClassFormat = 15;

int errClass(int errCode) {
    return (errCode >> kErrClassShift) & kErrClassMask;
}

std::string utf8(const OUString& s) {
    return rtl::OUStringToOString(s, RTL_TEXTENCODING_UTF8).getStr();
}

// An exception's message for a failure's detail, without the API's module
// prefix that some messages carry.
std::string message(const uno::Exception& e) {
    std::string text = utf8(e.Message);
    static constexpr std::string_view kModule = "com.sun.star.";
    for (auto at = text.find(kModule); at != std::string::npos; at = text.find(kModule, at))
        text.erase(at, kModule.size());
    return text;
}

OUString ou(std::string_view utf8Text) {
    return OUString(utf8Text.data(), static_cast<sal_Int32>(utf8Text.size()),
                    RTL_TEXTENCODING_UTF8);
}

OUString ou(std::u16string_view text) {
    return OUString(reinterpret_cast<const sal_Unicode*>(text.data()),
                    static_cast<sal_Int32>(text.size()));
}

void ignoreSignal(int) {}

// A write into the pipe of an office that has just ended (a kill, a crash, a
// terminate while the bridge still releases its objects) raises SIGPIPE,
// whose default ends this program and the operator's bill with it. With a
// handler that does nothing the write fails with EPIPE and the bridge reports
// a failed call. Unlike SIG_IGN, a handler is not passed on to the offices
// started from here. A handler someone else set is left alone.
void surviveClosedPipes() {
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction quiet {};
    quiet.sa_handler = ignoreSignal;
    quiet.sa_flags = SA_RESTART;
    sigemptyset(&quiet.sa_mask);
    sigaction(SIGPIPE, &quiet, nullptr);
}

}  // namespace

// Made once and kept: tearing it down at exit races with the bridge threads.
uno::Reference<uno::XComponentContext> localContext() {
    static std::once_flag once;
    static uno::Reference<uno::XComponentContext>* context = nullptr;
    static std::string failure;
    std::call_once(once, [] {
        surviveClosedPipes();
        // The runtime finds the office's type libraries through its
        // fundamentalrc; without them the first remote call hangs. (Handing
        // the office's unorc to the bootstrap is not enough: its type list
        // refers to fundamentalrc.) Set in the runtime alone, not in the
        // environment: an office we start inherits nothing of it.
        rtl::Bootstrap::set("URE_BOOTSTRAP",
                            "vnd.sun.star.pathname:" + ou(kOfficeProgramDir) + "/fundamentalrc");
        try {
            context = new uno::Reference<uno::XComponentContext>(
                cppu::defaultBootstrap_InitialComponentContext());
        } catch (const uno::Exception& e) {
            failure = message(e);
        }
    });
    if (!context || !context->is())
        fail(SpreadsheetError::CannotStart, kNoUnoRuntime, "UNO runtime: " + failure);
    return *context;
}

namespace {

[[noreturn]] void callFailed(const char* step, const uno::Exception& e) {
    fail(SpreadsheetError::Other, kCallFailed, std::string(step) + ": " + message(e));
}

}  // namespace

UnoSession::UnoSession() = default;

UnoSession::~UnoSession() {
    drop();
}

bool UnoSession::connect(const std::string& pipeName) {
    const auto local = localContext();
    try {
        const auto resolver = bridge::UnoUrlResolver::create(local);
        const OUString url = ou("uno:pipe,name=" + pipeName + ";urp;StarOffice.ComponentContext");
        uno::Reference<uno::XComponentContext> remote(resolver->resolve(url), uno::UNO_QUERY_THROW);
        desktop_ = frame::Desktop::create(remote);
        return true;
    } catch (const connection::NoConnectException&) {
        return false;
    } catch (const uno::Exception& e) {
        fail(SpreadsheetError::CannotStart, kNoAnswer, "connect: " + message(e));
    }
}

void UnoSession::load(const std::string& url) {
    if (!desktop_.is()) fail(SpreadsheetError::Other, kOutOfOrder, "load without an office");
    rtl::Reference<LockInteraction> interaction(new LockInteraction);
    uno::Sequence<beans::PropertyValue> args(4);
    auto* a = args.getArray();
    a[0].Name = "Hidden";
    a[0].Value <<= true;
    a[1].Name = "FilterName";
    a[1].Value <<= OUString::createFromAscii(kBillFilter);
    a[2].Name = "InteractionHandler";
    a[2].Value <<= uno::Reference<task::XInteractionHandler>(interaction.get());
    // A workbook passed around by chat or stick may carry a macro bound to
    // its opening; a hidden load never runs one, whatever the default is.
    a[3].Name = "MacroExecutionMode";
    a[3].Value <<= document::MacroExecMode::NEVER_EXECUTE;

    uno::Reference<lang::XComponent> doc;
    std::string why;
    try {
        doc = desktop_->loadComponentFromURL(ou(url), "_blank", 0, args);
    } catch (const uno::Exception& e) {
        why = message(e);
    }
    if (!doc.is()) {
        if (interaction->sawLock())
            fail(SpreadsheetError::WorkbookLocked, kLockedElsewhere, interaction->question());
        const std::string detail = "load: " + (why.empty() ? interaction->question() : why);
        // The office's own verdict that the file is no workbook it can read.
        const int reported = errClass(interaction->errorCode());
        if (reported == kErrClassRead || reported == kErrClassFormat)
            fail(SpreadsheetError::Damaged, kUnreadableAsXls, detail);
        fail(SpreadsheetError::Other, kLoadFailed, detail);
    }
    documents_.push_back(doc);
    // A read-only load cannot be saved: it counts as locked. Both are remote
    // calls: an office that dies now must fail the step, not escape it.
    bool readOnly = true;
    try {
        uno::Reference<frame::XStorable> storable(doc, uno::UNO_QUERY);
        readOnly = !storable.is() || storable->isReadonly();
    } catch (const uno::Exception& e) {
        callFailed("load", e);
    }
    if (readOnly)
        fail(SpreadsheetError::WorkbookLocked, kOpenedReadOnly,
             "opened read-only " + interaction->question());
}

void UnoSession::selectSheet(std::u16string_view name) {
    try {
        uno::Reference<sheet::XSpreadsheetDocument> doc(
            documents_.empty() ? nullptr : documents_.back(), uno::UNO_QUERY);
        if (!doc.is()) fail(SpreadsheetError::Other, kOutOfOrder, "no spreadsheet open");
        const auto sheets = doc->getSheets();
        if (!sheets->hasByName(ou(name)))
            fail(SpreadsheetError::SheetMissing, kNoSheet, "no sheet " + utf8(ou(name)));
        sheet_.set(sheets->getByName(ou(name)), uno::UNO_QUERY_THROW);
    } catch (const uno::Exception& e) {
        callFailed("sheet", e);
    }
}

void UnoSession::setValue(int row, int column, double value) {
    if (!sheet_.is()) fail(SpreadsheetError::Other, kOutOfOrder, "no sheet selected");
    try {
        sheet_->getCellByPosition(column - 1, row - 1)->setValue(value);
    } catch (const uno::Exception& e) {
        callFailed("cell", e);
    }
}

void UnoSession::setText(int row, int column, std::u16string_view text) {
    if (!sheet_.is()) fail(SpreadsheetError::Other, kOutOfOrder, "no sheet selected");
    try {
        // As literal text: setFormula would evaluate "=…" and read "007" as 7.
        uno::Reference<css::text::XText> cell(sheet_->getCellByPosition(column - 1, row - 1),
                                              uno::UNO_QUERY_THROW);
        cell->setString(ou(text));
    } catch (const uno::Exception& e) {
        callFailed("cell", e);
    }
}

void UnoSession::store() {
    try {
        uno::Reference<frame::XStorable> storable(documents_.empty() ? nullptr : documents_.back(),
                                                  uno::UNO_QUERY);
        if (!storable.is()) fail(SpreadsheetError::Other, kOutOfOrder, "no workbook open");
        storable->store();
    } catch (const task::ErrorCodeIOException& e) {
        const int reported = errClass(e.ErrCode);
        const std::string detail = "store: " + message(e);
        if (reported == kErrClassSpace) fail(SpreadsheetError::NoRoom, kNoRoomToStore, detail);
        if (reported == kErrClassAccess || reported == kErrClassLocking ||
            reported == kErrClassWrite)
            fail(SpreadsheetError::WorkbookLocked, kStoreRefused, detail);
        fail(SpreadsheetError::Other, kStoreFailed, detail);
    } catch (const uno::Exception& e) {
        fail(SpreadsheetError::Other, kStoreFailed, "store: " + message(e));
    }
}

void UnoSession::closeDocuments() noexcept {
    sheet_.clear();
    for (auto& doc : documents_) {
        try {
            uno::Reference<util::XCloseable> closeable(doc, uno::UNO_QUERY);
            if (closeable.is())
                closeable->close(true);
            else
                doc->dispose();
        } catch (...) {
            // Gone or vetoed: terminate or the kill ends it either way.
        }
    }
    documents_.clear();
}

void UnoSession::terminate() {
    if (!desktop_.is()) return;
    try {
        desktop_->terminate();
    } catch (const lang::DisposedException&) {
        // The office ended before it answered: what was asked for.
    } catch (const uno::Exception& e) {
        callFailed("terminate", e);
    }
}

void UnoSession::drop() noexcept {
    try {
        sheet_.clear();
        documents_.clear();
        desktop_.clear();
    } catch (...) {
    }
}

}  // namespace cubrix::lo
