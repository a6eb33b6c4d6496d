#include "platform/libreoffice/lock_interaction.h"

#include <com/sun/star/document/LockFileCorruptRequest.hpp>
#include <com/sun/star/document/LockFileIgnoreRequest.hpp>
#include <com/sun/star/document/LockedDocumentRequest.hpp>
#include <com/sun/star/document/LockedOnSavingRequest.hpp>
#include <com/sun/star/document/OwnLockOnDocumentRequest.hpp>
#include <com/sun/star/task/ErrorCodeRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionDisapprove.hpp>
#include <cstdio>
#include <rtl/ustring.hxx>

namespace cubrix::lo {

using namespace css;

namespace {

std::string utf8(const rtl::OUString& s) {
    return rtl::OUStringToOString(s, RTL_TEXTENCODING_UTF8).getStr();
}

}  // namespace

void LockInteraction::handle(const uno::Reference<task::XInteractionRequest>& request) {
    const uno::Any what = request->getRequest();
    const std::string type = utf8(what.getValueTypeName());
    question_ = type.substr(type.rfind('.') + 1);
    document::LockedDocumentRequest locked;
    document::OwnLockOnDocumentRequest ownLock;
    task::ErrorCodeRequest report;
    if (what >>= report) {
        errorCode_ = report.ErrCode;
        char code[16];
        std::snprintf(code, sizeof code, " 0x%X", static_cast<unsigned>(report.ErrCode));
        question_ += code;
    } else if (what >>= locked) {
        sawLock_ = true;
        question_ += " by " + utf8(locked.UserInfo);
    } else if (what >>= ownLock) {
        sawLock_ = true;
        question_ += " since " + utf8(ownLock.TimeInfo);
    } else if (what.isExtractableTo(cppu::UnoType<document::LockFileIgnoreRequest>::get()) ||
               what.isExtractableTo(cppu::UnoType<document::LockFileCorruptRequest>::get()) ||
               what.isExtractableTo(cppu::UnoType<document::LockedOnSavingRequest>::get())) {
        sawLock_ = true;
    }
    // Abort where offered; otherwise the "no" answer.
    const auto continuations = request->getContinuations();
    for (const auto& c : continuations) {
        if (const uno::Reference<task::XInteractionAbort> abort{c, uno::UNO_QUERY}; abort.is()) {
            abort->select();
            return;
        }
    }
    for (const auto& c : continuations) {
        if (const uno::Reference<task::XInteractionDisapprove> no{c, uno::UNO_QUERY}; no.is()) {
            no->select();
            return;
        }
    }
}

}  // namespace cubrix::lo
