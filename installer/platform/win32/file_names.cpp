#include "installer/platform/win32/file_names.h"

#include "base/win32/windows_clean.h"

#include <vector>

#include "base/text.h"
#include "base/win32/wide.h"
#include "installer/platform/wow64_paths.h"

namespace ostravel::win32 {
namespace {

#ifdef _WIN64
template <typename Query>
std::string Folder(Query query) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  UINT n = query(buffer.data(), UINT(buffer.size()));
  if (n >= buffer.size()) {
    buffer.resize(n + 1);
    n = query(buffer.data(), UINT(buffer.size()));
  }
  if (n == 0 || n >= buffer.size()) return "";
  return WithoutTrailing(Narrow(std::wstring(buffer.data(), n)), '\\');
}

const platform::Wow64Folders& Folders() {
  // Fixed for the life of the process: asked once.
  static const platform::Wow64Folders folders{
      Folder([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); }),
      Folder([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); }),
      Folder([](wchar_t* b, UINT n) { return GetSystemWow64DirectoryW(b, n); })};
  return folders;
}
#endif

}  // namespace

std::wstring FileName(std::string_view path) {
#ifdef _WIN64
  return Wide(platform::Wow64FileName(std::string(path), Folders()));
#else
  return Wide(path);
#endif
}

}  // namespace ostravel::win32
