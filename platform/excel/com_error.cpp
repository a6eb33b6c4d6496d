#include "platform/excel/com_error.h"

#include <cstdio>

namespace cubrix::com {

ComError::ComError(HRESULT hr, const std::string& what)
    : std::runtime_error(what + " (" + hexHresult(hr) + ")"), hr_(hr) {}

std::string hexHresult(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

}  // namespace cubrix::com
