#pragma once
// The Win32 boundary of text: CP1250 inside, UTF-16 for the system.
#include <string>
#include <string_view>

namespace ostravel::win32 {

std::wstring Wide(std::string_view cp1250);
std::string Narrow(std::wstring_view utf16);
// UTF-8, for the maker's tool, whose file names are UTF-8 on every system.
std::string Utf8(std::wstring_view utf16);

// The system's message text for an error code, CP1250, trimmed; "" when it has none.
std::string SystemMessageText(unsigned long code);
// The same, or "System error N" when the system has no text for the code.
std::string SystemErrorText(unsigned long code);

}  // namespace ostravel::win32
