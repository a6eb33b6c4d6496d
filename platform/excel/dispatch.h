// Late binding: members looked up by name (GetIDsOfNames) and called through
// IDispatch::Invoke, as a script would. Failures, including the object's own
// exceptions (EXCEPINFO), throw ComError.
#pragma once

#include <oaidl.h>
#include <objbase.h>

#include <span>
#include <string>
#include <string_view>

#include "platform/excel/com_ptr.h"
#include "platform/excel/variant.h"

namespace cubrix::com {

// Creates the registered class `progId` in the given server context.
ComPtr<IDispatch> createObject(std::wstring_view progId, DWORD context);

// Calls `name` on `object` with the arguments in their written order. A
// property put takes the assigned value as its last argument.
Variant invokeArgs(IDispatch* object, std::wstring_view name, WORD flags,
                   std::span<const Variant> args);

template <class... Args>
Variant invoke(IDispatch* object, std::wstring_view name, WORD flags, Args&&... args) {
    const Variant list[] = {Variant(), Variant(std::forward<Args>(args))...};
    return invokeArgs(object, name, flags, std::span(list).subspan(1));
}

// `object.name(args)` read as a property or called as a method with a result.
template <class... Args>
Variant get(IDispatch* object, std::wstring_view name, Args&&... args) {
    return invoke(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                  std::forward<Args>(args)...);
}

template <class... Args>
ComPtr<IDispatch> getObject(IDispatch* object, std::wstring_view name, Args&&... args) {
    return get(object, name, std::forward<Args>(args)...).toObject();
}

// `object.name(args)` as a method.
template <class... Args>
Variant call(IDispatch* object, std::wstring_view name, Args&&... args) {
    return invoke(object, name, DISPATCH_METHOD, std::forward<Args>(args)...);
}

// `object.name(index...) = value`; the value comes last.
template <class... Args>
void put(IDispatch* object, std::wstring_view name, Args&&... indexAndValue) {
    invoke(object, name, DISPATCH_PROPERTYPUT, std::forward<Args>(indexAndValue)...);
}

}  // namespace cubrix::com
