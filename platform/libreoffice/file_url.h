// file:// URLs of local paths, made here rather than by osl so that they do
// not depend on this process's locale: bytes are percent-encoded as they are
// (UTF-8 on the operator's system), which is what the office decodes under
// its C.UTF-8 locale.
#pragma once

#include <string>
#include <string_view>

namespace cubrix::lo {

// `path` absolute or relative to the current folder.
std::string fileUrl(std::string_view path);
// The path of a file:// URL; empty for anything else.
std::string pathOfFileUrl(std::string_view url);
// Whether two local paths name the same folder, as "/a/b", "/a/b/" and
// "/a/./b" do; an empty path names none.
bool sameFolder(const std::string& a, const std::string& b);

}  // namespace cubrix::lo
