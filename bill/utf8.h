// UTF-8 <-> UTF-16 for the edges that speak bytes (the probe, the export's
// paths and messages). Malformed input becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace cubrix {

std::u16string fromUtf8(std::string_view bytes);
std::string toUtf8(std::u16string_view text);

}  // namespace cubrix
