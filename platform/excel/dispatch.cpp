#include "platform/excel/dispatch.h"

#include <string>
#include <vector>

#include "bill/utf8.h"
#include "platform/excel/com_error.h"

namespace cubrix::com {
namespace {

std::string narrow(std::wstring_view w) {
    return toUtf8({reinterpret_cast<const char16_t*>(w.data()), w.size()});
}

// The HRESULT an object's exception stands for. Some servers leave scode 0
// and give a 16-bit wCode, which Automation maps into FACILITY_CONTROL as
// Visual Basic's error numbers.
HRESULT exceptionHresult(EXCEPINFO& info, std::string& detail) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    const Bstr source = Bstr::adopt(info.bstrSource);
    const Bstr description = Bstr::adopt(info.bstrDescription);
    const Bstr helpFile = Bstr::adopt(info.bstrHelpFile);
    if (source.get()) detail += ": " + toUtf8(source.text());
    if (description.get()) detail += ": " + toUtf8(description.text());
    if (info.scode != 0) return info.scode;
    if (info.wCode != 0) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info.wCode);
    return DISP_E_EXCEPTION;
}

}  // namespace

ComPtr<IDispatch> createObject(std::wstring_view progId, DWORD context) {
    const std::wstring id(progId);
    CLSID clsid;
    check(CLSIDFromProgID(id.c_str(), &clsid), "CLSIDFromProgID(" + narrow(progId) + ")");
    ComPtr<IDispatch> object;
    check(CoCreateInstance(clsid, nullptr, context, IID_IDispatch,
                           reinterpret_cast<void**>(object.put())),
          "CoCreateInstance(" + narrow(progId) + ")");
    return object;
}

Variant invokeArgs(IDispatch* object, std::wstring_view name, WORD flags,
                   std::span<const Variant> args) {
    const std::string what = narrow(name);
    if (!object) throw ComError(E_POINTER, what + ": no object");

    std::wstring member(name);
    LPOLESTR names[] = {member.data()};
    DISPID id = DISPID_UNKNOWN;
    check(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), what);

    // Invoke takes the arguments last to first; the callee does not own them.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->raw());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    // A put names its value (now first) as the property's new value.
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }

    Variant result;
    EXCEPINFO info{};
    UINT badArgument = 0;
    HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.put(),
                                &info, &badArgument);
    if (hr == DISP_E_EXCEPTION) {
        std::string detail = what;
        hr = exceptionHresult(info, detail);
        throw ComError(hr, detail);
    }
    check(hr, what);
    return result;
}

}  // namespace cubrix::com
