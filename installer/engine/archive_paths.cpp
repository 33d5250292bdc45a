#include "installer/engine/archive_paths.h"

namespace ostravel::engine {

namespace {

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string MemberFolder(const std::string& target) {
  size_t slash = target.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

bool EscapesFolder(const std::string& relative) {
  if (relative.empty() || relative[0] == '\\' || relative[0] == '/' || relative.find(':') != std::string::npos)
    return true;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find_first_of("\\/", start);
    if (end == std::string::npos) end = relative.size();
    if (relative.compare(start, end - start, "..") == 0) return true;
    start = end + 1;
  }
  return false;
}

std::string MemberTargetPath(const std::string& destination, bool restoreFullPath, const std::string& storedName) {
  if (destination.empty()) return storedName;
  if (!restoreFullPath) return destination + FileNameOf(storedName);
  std::string relative = storedName.size() > 3 ? storedName.substr(3) : std::string();
  // Never outside the destination: such a member gets a target that cannot be created.
  if (EscapesFolder(relative)) return destination;
  return destination + relative;
}

bool RestoreDecision(TRestoreMode mode, std::optional<int32_t> existingTime, int32_t stored) {
  const bool exists = existingTime.has_value();
  const bool newer = !exists || stored > *existingTime;
  switch (mode) {
    case rmAll:
      return true;
    case rmNoOverwrite:
      return !exists;
    case rmNewer:
      return newer;
    case rmExisting:
      return exists;
    case rmExistingNewer:
      return exists && newer;
  }
  return true;
}

}  // namespace ostravel::engine
