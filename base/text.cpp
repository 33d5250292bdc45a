#include "base/text.h"

#include <cstdarg>
#include <cstdio>

#include "base/cp1250.h"

namespace ostravel {
namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

std::string Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::string TrimLeft(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && IsBlank(text[b])) ++b;
  return std::string(text.substr(b));
}

std::string TrimRight(std::string_view text) {
  size_t e = text.size();
  while (e > 0 && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(0, e));
}

std::string CollapseRepeats(std::string_view text, char ch) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ch && !out.empty() && out.back() == ch) continue;
    out.push_back(c);
  }
  return out;
}

std::string NextToken(std::string& text, char separator) {
  size_t pos = text.find(separator);
  if (pos == std::string::npos) {
    std::string token = std::move(text);
    text.clear();
    return token;
  }
  std::string token = text.substr(0, pos);
  text.erase(0, pos + 1);
  return token;
}

std::string WithTrailing(std::string_view text, char ch) {
  std::string out(text);
  if (!out.empty() && out.back() != ch) out.push_back(ch);
  return out;
}

std::string WithoutTrailing(std::string_view text, char ch) {
  std::string out(text);
  if (!out.empty() && out.back() == ch) out.pop_back();
  return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::optional<int32_t> ParseInteger(std::string_view text) {
  auto hex = [](std::string_view digits) -> std::optional<int32_t> {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    uint32_t v = 0;
    for (char c : digits) {
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return std::nullopt;
      v = v * 16 + uint32_t(d);
    }
    return static_cast<int32_t>(v);
  };
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return hex(text.substr(2));
  if (!text.empty() && text[0] == '$') return hex(text.substr(1));
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

int32_t ParseIntegerOr(std::string_view text, int32_t fallback) {
  return ParseInteger(text).value_or(fallback);
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (true) {
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
    if (i >= line.size()) break;
    std::string token;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && static_cast<unsigned char>(c) <= ' ') {
        break;
      } else {
        token += c;
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::vector<std::string> SplitLines(std::string_view data) {
  // CR LF, lone LF and lone CR each end a line, as the text-file readers of the
  // system do; a final line without terminator counts.
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '\r' || data[i] == '\n') {
      lines.emplace_back(data.substr(start, i - start));
      if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < data.size()) lines.emplace_back(data.substr(start));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol) {
  std::string out;
  for (const auto& l : lines) {
    out += l;
    out += eol;
  }
  return out;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string UpperHex(const unsigned char* data, size_t size) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    out.push_back(kHex[data[i] >> 4]);
    out.push_back(kHex[data[i] & 15]);
  }
  return out;
}

std::string Format(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  va_list ap2;
  va_copy(ap2, ap);
  int n = std::vsnprintf(nullptr, 0, fmt, ap);
  va_end(ap);
  std::string out(n > 0 ? size_t(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, ap2);
  va_end(ap2);
  return out;
}

}  // namespace ostravel
