// Volume labels and network connections of drive letters.
#include "base/win32/windows_clean.h"

#include <winnetwk.h>

#include "base/text.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {

std::string Win32FileSystem::VolumeLabel(const std::string& root) {
  NoCriticalErrorBoxes quiet;
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(Wide(WithTrailing(root, '\\')).c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                             nullptr, 0))
    return "";
  return Narrow(label);
}

std::optional<std::string> Win32FileSystem::NetworkRemoteName(const std::string& drive) {
  const std::wstring local = Wide(WithoutTrailing(drive, '\\'));
  std::wstring remote(260, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD length = DWORD(remote.size());
    const DWORD status = WNetGetConnectionW(local.c_str(), remote.data(), &length);
    if (status == NO_ERROR) {
      remote.resize(wcsnlen(remote.c_str(), remote.size()));
      return Narrow(remote);
    }
    if (status != ERROR_MORE_DATA || length <= remote.size()) return std::nullopt;
    remote.assign(size_t(length), L'\0');
  }
  return std::nullopt;
}

}  // namespace ostravel::win32
