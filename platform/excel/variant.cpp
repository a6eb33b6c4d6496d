#include "platform/excel/variant.h"

#include <utility>

#include "platform/excel/com_error.h"

namespace cubrix::com {

Variant::Variant(double d) : Variant() {
    V_VT(&v_) = VT_R8;
    V_R8(&v_) = d;
}

Variant::Variant(int i) : Variant() {
    V_VT(&v_) = VT_I4;
    V_I4(&v_) = i;
}

Variant::Variant(bool b) : Variant() {
    V_VT(&v_) = VT_BOOL;
    V_BOOL(&v_) = b ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(Bstr text) : Variant() {
    V_VT(&v_) = VT_BSTR;
    V_BSTR(&v_) = text.release();
}

// A VARIANT is a plain struct; moving its bits moves ownership.
Variant::Variant(Variant&& other) noexcept : v_(other.v_) {
    VariantInit(&other.v_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
    std::swap(v_, other.v_);
    return *this;
}

VARIANT* Variant::put() {
    VariantClear(&v_);
    return &v_;
}

Variant Variant::converted(VARTYPE to) const {
    Variant r;
    check(VariantChangeType(r.put(), const_cast<VARIANT*>(&v_), 0, to), "VARIANT conversion");
    return r;
}

double Variant::toDouble() const {
    const Variant d = converted(VT_R8);
    return V_R8(&d.v_);
}

bool Variant::toBool() const {
    const Variant b = converted(VT_BOOL);
    return V_BOOL(&b.v_) != VARIANT_FALSE;
}

std::u16string Variant::toText() const {
    const Variant t = converted(VT_BSTR);
    return {reinterpret_cast<const char16_t*>(V_BSTR(&t.v_)), SysStringLen(V_BSTR(&t.v_))};
}

ComPtr<IDispatch> Variant::toObject() const {
    const Variant d = converted(VT_DISPATCH);
    if (!V_DISPATCH(&d.v_)) throw ComError(DISP_E_TYPEMISMATCH, "VARIANT is Nothing");
    return ComPtr<IDispatch>::share(V_DISPATCH(&d.v_));
}

}  // namespace cubrix::com
