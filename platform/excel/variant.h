// Owning VARIANT: cleared on destruction, moved but never copied.
#pragma once

#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "platform/excel/bstr.h"
#include "platform/excel/com_ptr.h"

namespace cubrix::com {

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(double d);
    Variant(int i);
    Variant(bool b);
    Variant(Bstr text);
    Variant(std::u16string_view text) : Variant(Bstr(text)) {}
    Variant(const char16_t* text) : Variant(std::u16string_view(text)) {}
    Variant(const wchar_t* text) : Variant(Bstr(std::wstring_view(text))) {}
    Variant(const char*) = delete;  // bytes would silently become a bool
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }

    const VARIANT& raw() const { return v_; }
    VARTYPE type() const { return V_VT(&v_); }
    // For out parameters: clears the current value first.
    VARIANT* put();

    // Conversions as Automation does them; a value that does not convert
    // throws ComError with DISP_E_TYPEMISMATCH or the like.
    double toDouble() const;
    bool toBool() const;
    std::u16string toText() const;
    ComPtr<IDispatch> toObject() const;

private:
    Variant converted(VARTYPE to) const;
    VARIANT v_;
};

}  // namespace cubrix::com
