// The interaction handler given to the office when it loads the workbook.
// Whatever the office would ask the operator, it answers "abort", so a load
// never waits for a dialog nobody sees; it notes whether the question was
// about a document lock, which tells a locked workbook from a broken one.
#pragma once

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>
#include <string>

namespace cubrix::lo {

class LockInteraction : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    void SAL_CALL
    handle(const css::uno::Reference<css::task::XInteractionRequest>& request) override;

    bool sawLock() const { return sawLock_; }
    // The last question asked, for the failure's detail: its type's own
    // name without the module, and the office's error code where it gave one.
    const std::string& question() const { return question_; }
    // The office's error code of an error report (ErrorCodeRequest), else 0.
    int errorCode() const { return errorCode_; }

private:
    bool sawLock_ = false;
    std::string question_;
    int errorCode_ = 0;
};

}  // namespace cubrix::lo
