// The failure dialog's own texts: how it shows a failure's number and text,
// and the texts of the failures no handler expected.
#pragma once

namespace cubrix {

inline constexpr const char* kFailureFormat = "错误 %1：%2";  // number, text
inline constexpr const char* kOutOfMemoryText = "内存不足";
inline constexpr const char* kUnexpectedText = "内部错误";  // the detail on a line below

}  // namespace cubrix
