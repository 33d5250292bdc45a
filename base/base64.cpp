#include "base/base64.h"

#include <cstdint>

namespace ostravel {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    uint32_t group = uint32_t(uint8_t(bytes[i])) << 16;
    if (n > 1) group |= uint32_t(uint8_t(bytes[i + 1])) << 8;
    if (n > 2) group |= uint32_t(uint8_t(bytes[i + 2]));
    out.push_back(kAlphabet[(group >> 18) & 63]);
    out.push_back(kAlphabet[(group >> 12) & 63]);
    out.push_back(n > 1 ? kAlphabet[(group >> 6) & 63] : '=');
    out.push_back(n > 2 ? kAlphabet[group & 63] : '=');
  }
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  std::string symbols;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') symbols.push_back(c);
  if (symbols.size() % 4 != 0) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < symbols.size(); i += 4) {
    const bool last = i + 4 == symbols.size();
    int pad = 0;
    uint32_t group = 0;
    for (size_t k = 0; k < 4; ++k) {
      const char c = symbols[i + k];
      if (c == '=' && last && k >= 2 && (k == 3 || symbols[i + 3] == '=')) {
        ++pad;
        group <<= 6;
        continue;
      }
      const int v = Value(c);
      if (v < 0 || pad > 0) return std::nullopt;
      group = (group << 6) | uint32_t(v);
    }
    out.push_back(char((group >> 16) & 255));
    if (pad < 2) out.push_back(char((group >> 8) & 255));
    if (pad < 1) out.push_back(char(group & 255));
  }
  return out;
}

}  // namespace ostravel
