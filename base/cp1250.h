#pragma once
// Windows-1250 text: every string inside the programs is CP1250 bytes; UTF-16 appears
// only at the Win32 boundary and UTF-8 only in the host tool's terminal and file names.
#include <string>
#include <string_view>

namespace ostravel {

char16_t Cp1250ToUnicode(unsigned char byte);
// False when the character has no CP1250 byte.
bool UnicodeToCp1250(char32_t ch, unsigned char& byte);

std::u16string Cp1250ToUtf16(std::string_view text);
// Characters without a CP1250 byte become '?'.
std::string Utf16ToCp1250(std::u16string_view text);
std::string Cp1250ToUtf8(std::string_view text);
std::string Utf8ToCp1250(std::string_view text);

// Case mapping of the code page, accented letters included (á <-> Á, ő <-> Ő, ...).
char UpperCaseChar(char c);
char LowerCaseChar(char c);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Equal without regard to case.
bool SameText(std::string_view a, std::string_view b);

}  // namespace ostravel
