#include "base/win32/wide.h"

#include "base/win32/windows_clean.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::win32 {

std::wstring Wide(std::string_view cp1250) {
  // Our own table, not MultiByteToWideChar: identical on every system locale.
  const std::u16string u = Cp1250ToUtf16(cp1250);
  return std::wstring(u.begin(), u.end());
}

std::string Narrow(std::wstring_view utf16) {
  return Utf16ToCp1250(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::string Utf8(std::wstring_view utf16) {
  if (utf16.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? size_t(n) : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string SystemMessageText(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = n && buffer ? Trim(Narrow(std::wstring_view(buffer, n))) : std::string();
  if (buffer) LocalFree(buffer);
  return text;
}

std::string SystemErrorText(unsigned long code) {
  std::string text = SystemMessageText(code);
  return text.empty() ? "System error " + std::to_string(code) : text;
}

}  // namespace ostravel::win32
