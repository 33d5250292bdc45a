#include "base/win32/windows_clean.h"

#include "base/win32/wide.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {

bool Win32DesktopWindows::WindowOfClassExists(const std::string& className) {
  return FindWindowW(Wide(className).c_str(), nullptr) != nullptr;
}

bool Win32DesktopWindows::CloseWindowOfClass(const std::string& className) {
  HWND window = FindWindowW(Wide(className).c_str(), nullptr);
  if (!window) return false;
  // A synchronous close, but bounded: a hung server must not hang the installer.
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs, &result) != 0;
}

}  // namespace ostravel::win32
