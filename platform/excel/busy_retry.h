// Excel refuses calls while it is busy (still starting, recalculating, a cell
// in edit): COM then asks the calling thread's message filter whether to try
// again. While this lives, refused calls are retried for kBusyWaitMs before
// they fail with RPC_E_CALL_REJECTED. Only a single-threaded apartment has a
// message filter; elsewhere this does nothing.
#pragma once

#include <objbase.h>

namespace cubrix::com {

inline constexpr DWORD kBusyWaitMs = 20000;
inline constexpr DWORD kBusyRetryMs = 100;

class BusyRetry final : public IMessageFilter {
public:
    BusyRetry();
    ~BusyRetry();
    BusyRetry(const BusyRetry&) = delete;
    BusyRetry& operator=(const BusyRetry&) = delete;

    // Lives exactly as long as its registration, so no reference counting.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

private:
    IMessageFilter* previous_ = nullptr;
    bool registered_ = false;
};

}  // namespace cubrix::com
