#include "startup/launch_rules.h"

#include <limits>

namespace ostravel::startup {

namespace {

constexpr int64_t kBytesPerMB = 1048576;
constexpr int64_t kMaxMB = std::numeric_limits<int64_t>::max() / kBytesPerMB;

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

int64_t ParseSpaceMinMB(std::string_view text) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kMaxMB) value = value * 10 + (text[i] - '0');
    if (value > kMaxMB) value = kMaxMB;
  }
  return negative ? -value : value;
}

int64_t MinimumFreeBytes(int64_t spaceMinMB) {
  if (spaceMinMB <= 0) return 0;
  if (spaceMinMB >= kMaxMB) return kMaxMB * kBytesPerMB;
  return spaceMinMB * kBytesPerMB;
}

bool SpaceRefused(std::string_view spaceCheckEnabled, uint64_t freeBytes, int64_t minimumFreeBytes) {
  return spaceCheckEnabled == "1" && minimumFreeBytes > 0 && freeBytes < static_cast<uint64_t>(minimumFreeBytes);
}

int32_t ProgressRange(uint64_t copyTotal) {
  uint64_t steps = copyTotal / kCopyBufferSize;
  const uint64_t rest = copyTotal % kCopyBufferSize;
  if (rest * 2 > kCopyBufferSize || (rest * 2 == kCopyBufferSize && (steps & 1))) ++steps;
  const uint64_t cap = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(steps > cap ? cap : steps);
}

bool HasSwitch(const std::vector<std::string>& params, std::string_view name) {
  for (const auto& p : params) {
    if (SameAscii(p, name)) return true;
  }
  return false;
}

std::string BuildInstallerCommandLine(std::string_view installerPath, std::string_view launcherFolder,
                                      const std::vector<std::string>& params) {
  std::string line;
  const bool quote = installerPath.find_first_of(" \t") != std::string_view::npos;
  if (quote) line += '"';
  line += installerPath;
  if (quote) line += '"';
  line += " /l\"";
  line += launcherFolder;
  line += '"';
  for (const auto& p : params) {
    line += ' ';
    line += p;
  }
  return line;
}

std::string FolderOfPath(std::string_view path) {
  const size_t at = path.find_last_of("\\:");
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

}  // namespace ostravel::startup
