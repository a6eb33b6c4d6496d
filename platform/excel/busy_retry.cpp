#include "platform/excel/busy_retry.h"

namespace cubrix::com {

BusyRetry::BusyRetry() {
    registered_ = SUCCEEDED(CoRegisterMessageFilter(this, &previous_));
}

BusyRetry::~BusyRetry() {
    if (!registered_) return;
    IMessageFilter* ours = nullptr;
    CoRegisterMessageFilter(previous_, &ours);
    if (previous_) previous_->Release();
}

HRESULT BusyRetry::QueryInterface(REFIID iid, void** out) {
    if (iid != IID_IUnknown && iid != IID_IMessageFilter) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IMessageFilter*>(this);
    return S_OK;
}

DWORD BusyRetry::RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD rejectType) {
    // (DWORD)-1 gives up: the call fails with RPC_E_CALL_REJECTED.
    if (rejectType == SERVERCALL_RETRYLATER && elapsedMs < kBusyWaitMs) return kBusyRetryMs;
    return static_cast<DWORD>(-1);
}

}  // namespace cubrix::com
