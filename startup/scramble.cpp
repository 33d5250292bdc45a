#include "startup/scramble.h"

#include <cstdint>

#include "base/text.h"
#include "startup/startup_key.h"

namespace ostravel::startup {

namespace {

constexpr std::string_view kKey = "Quorvantel Milbrasko Tendry Vaskh Ploristane";

constexpr unsigned KeySum() {
  unsigned sum = 0;
  for (char c : kKey) sum += static_cast<unsigned char>(c);
  return sum;
}

uint8_t RotateLeft(uint8_t v, unsigned n) {
  n &= 7;
  return n == 0 ? v : static_cast<uint8_t>((v << n) | (v >> (8 - n)));
}

uint8_t RotateRight(uint8_t v, unsigned n) { return RotateLeft(v, (8 - (n & 7)) & 7); }

// Odd positions (1-based) rotate one way, even positions the other.
std::string Transform(std::string_view line, bool leftAtOdd) {
  std::string out(line);
  size_t keyIndex = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const unsigned n = (static_cast<unsigned char>(kKey[keyIndex]) + KeySum()) % 8;
    const bool odd = (i % 2) == 0;
    const uint8_t c = static_cast<uint8_t>(out[i]);
    out[i] = static_cast<char>(odd == leftAtOdd ? RotateLeft(c, n) : RotateRight(c, n));
    keyIndex = (keyIndex + 1) % kKey.size();
  }
  return out;
}

}  // namespace

std::string DescrambleLine(std::string_view line) { return Transform(line, true); }
std::string ScrambleLine(std::string_view line) { return Transform(line, false); }

std::string DescrambleScript(std::string_view scrambled) {
  std::string out;
  size_t start = 0;
  while (start < scrambled.size()) {
    size_t end = scrambled.find("\r\n", start);
    if (end == std::string_view::npos) end = scrambled.size();
    out += DescrambleLine(scrambled.substr(start, end - start));
    out += "\r\n";
    start = end + 2;
  }
  return out;
}

ScrambleResult ScrambleScript(std::string_view plain) {
  ScrambleResult result;
  const std::vector<std::string> lines = SplitLines(plain);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string scrambled = ScrambleLine(lines[i]);
    if (scrambled.find("\r\n") != std::string::npos) {
      result.error = "line " + std::to_string(i + 1) + " scrambles into a CR LF pair: " + lines[i];
      result.data.clear();
      return result;
    }
    result.data += scrambled;
    result.data += "\r\n";
  }
  if (IsPlainScript(result.data)) {
    result.error = "the scrambled text would be taken for a plain script";
    result.data.clear();
  }
  return result;
}

}  // namespace ostravel::startup
