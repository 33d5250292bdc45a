#include "base/win32/windows_clean.h"

#include "base/win32/unique_handle.h"
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

bool Win32DesktopWindows::WindowWithTitleExists(const std::string& title) {
  // FindWindow compares titles without regard to case; the test is exact.
  HWND window = nullptr;
  const std::wstring wanted = Wide(title);
  while ((window = FindWindowExW(nullptr, window, nullptr, wanted.c_str())) != nullptr) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), length + 1)));
    if (text == wanted) return true;
  }
  return false;
}

std::string Win32DesktopWindows::ProgramOfWindowClass(const std::string& className) {
  HWND window = FindWindowW(Wide(className).c_str(), nullptr);
  DWORD processId = 0;
  if (!window || !GetWindowThreadProcessId(window, &processId) || processId == 0) return "";
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return "";
  // Long paths are allowed; the size is grown a bounded number of times.
  for (DWORD size = 512; size <= 32768; size *= 4) {
    std::wstring path(size, L'\0');
    DWORD length = size;
    if (QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return Narrow(path.substr(0, length));
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return "";
  }
  return "";
}

}  // namespace ostravel::win32
