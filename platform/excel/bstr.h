// Owning BSTR. Windows' wchar_t is UTF-16, so the program's u16strings pass
// through unchanged.
#pragma once

#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace cubrix::com {

class Bstr {
public:
    explicit Bstr(std::u16string_view text)
        : s_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                               static_cast<UINT>(text.size()))) {}
    explicit Bstr(std::wstring_view text)
        : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(s_, other.s_);
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(s_); }

    // Takes over a BSTR the caller owns (an out parameter's).
    static Bstr adopt(BSTR s) { return Bstr(s); }

    BSTR get() const { return s_; }
    // Hands the string to a new owner, e.g. a VARIANT.
    BSTR release() { return std::exchange(s_, nullptr); }

    std::u16string text() const {
        return {reinterpret_cast<const char16_t*>(s_), SysStringLen(s_)};
    }

private:
    explicit Bstr(BSTR s) : s_(s) {}
    BSTR s_;
};

}  // namespace cubrix::com
