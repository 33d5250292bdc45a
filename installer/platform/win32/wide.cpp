#include "installer/platform/win32/wide.h"

#include "installer/platform/win32/windows_clean.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::win32 {

std::wstring Wide(const std::string& cp1250) {
  // Our own table, not MultiByteToWideChar: identical on every system locale.
  std::u16string u = Cp1250ToUtf16(cp1250);
  return std::wstring(u.begin(), u.end());
}

std::string Narrow(const std::wstring& utf16) {
  return Utf16ToCp1250(std::u16string(utf16.begin(), utf16.end()));
}

std::string SystemErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = n && buffer ? Trim(Narrow(std::wstring(buffer, n))) : "System error " + std::to_string(code);
  if (buffer) LocalFree(buffer);
  return text;
}

}  // namespace ostravel::win32
