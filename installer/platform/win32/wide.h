#pragma once
// The Win32 boundary of text: CP1250 inside, UTF-16 for the system.
#include <string>

namespace ostravel::win32 {

std::wstring Wide(const std::string& cp1250);
std::string Narrow(const std::wstring& utf16);
// The system's message text for an error code, CP1250.
std::string SystemErrorText(unsigned long code);

}  // namespace ostravel::win32
