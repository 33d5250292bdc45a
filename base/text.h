#pragma once
// Small text utilities shared by every program; all text is CP1250 bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostravel {

// Blank and control characters (byte value <= 32) off both ends.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Every run of two or more `ch` becomes one.
std::string CollapseRepeats(std::string_view text, char ch);
// Token before the first separator; `text` loses it and the separator. Without a
// separator the token is the whole text and `text` becomes empty.
std::string NextToken(std::string& text, char separator);
// Appends `ch` unless the text is empty or already ends with it.
std::string WithTrailing(std::string_view text, char ch);
// Removes one final `ch`.
std::string WithoutTrailing(std::string_view text, char ch);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Integer text: optional sign and decimal digits, or hexadecimal after "$" or after
// "0x"/"0X" (the latter only when longer than two characters). Hexadecimal wraps to
// 32 bits as the system's own conversion does. Nullopt for anything else.
std::optional<int32_t> ParseInteger(std::string_view text);
int32_t ParseIntegerOr(std::string_view text, int32_t fallback);

std::vector<std::string> SplitLines(std::string_view data);
// A command line split as the launcher and the installer agree: blanks outside
// quotes separate, a quote toggles quoting and is dropped, a backslash is just a
// character (so /l"C:\medium\" /silent stays two parameters). The first token is
// the program.
std::vector<std::string> SplitCommandLine(std::string_view line);
std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol = "\r\n");

std::string IntToStr(int64_t value);
// Bytes as upper-case hexadecimal digits, two per byte.
std::string UpperHex(const unsigned char* data, size_t size);
// printf into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ostravel
