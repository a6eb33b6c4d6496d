// A failed COM call: its HRESULT and a readable account of what was called.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace cubrix::com {

class ComError : public std::runtime_error {
public:
    ComError(HRESULT hr, const std::string& what);
    HRESULT hr() const { return hr_; }

private:
    HRESULT hr_;
};

// "0x800401F3", the form in which HRESULTs are looked up.
std::string hexHresult(HRESULT hr);

// Throws ComError when `hr` failed.
inline void check(HRESULT hr, const std::string& what) {
    if (FAILED(hr)) throw ComError(hr, what);
}

}  // namespace cubrix::com
