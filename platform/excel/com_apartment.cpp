#include "platform/excel/com_apartment.h"

#include <objbase.h>

#include "platform/excel/com_error.h"

namespace cubrix::com {

ComApartment::ComApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE: already initialised as an STA, counted all the same.
    // RPC_E_CHANGED_MODE: a multithreaded apartment, which serves as well.
    if (hr == RPC_E_CHANGED_MODE) return;
    check(hr, "CoInitializeEx");
    mustUninitialize_ = true;
}

ComApartment::~ComApartment() {
    if (mustUninitialize_) CoUninitialize();
}

}  // namespace cubrix::com
