#include "startup/startup_key.h"

#include "base/text.h"
#include "base/win32/shared_names.h"

namespace ostravel::startup {

namespace {

// ASCII letters only: the key compare must not depend on the code page.
std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

std::string ReadStartUpKey(std::string_view script, std::string_view section, std::string_view key,
                           std::string_view fallback) {
  std::string value(fallback);
  const std::string header = "[" + std::string(section) + "]";
  const std::string wanted = AsciiUpper(key);
  bool inSection = false;
  for (const std::string& line : SplitLines(script)) {
    if (!inSection) {
      inSection = line == header;
      continue;
    }
    if (StartsWith(line, "[")) break;
    // A line without "=" has an empty key and the whole line as its value.
    const size_t eq = line.find('=');
    const std::string_view name = eq == std::string::npos ? std::string_view() : std::string_view(line).substr(0, eq);
    if (AsciiUpper(name) == wanted) value = eq == std::string::npos ? line : line.substr(eq + 1);
  }
  return value;
}

bool IsPlainScript(std::string_view script) {
  for (const std::string& line : SplitLines(script)) {
    if (line == names::kPlainMarkerLine) return true;
  }
  return false;
}

}  // namespace ostravel::startup
