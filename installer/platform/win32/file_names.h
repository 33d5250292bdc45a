#pragma once
// File names as the system is given them.
#include <string>
#include <string_view>

namespace ostravel::win32 {

// UTF-16 for a file or folder path. The x86_64 build places and finds files where
// the i686 one does on 64-bit Windows (platform/wow64_paths.h). Programs are
// started by their names unchanged.
std::wstring FileName(std::string_view path);

}  // namespace ostravel::win32
