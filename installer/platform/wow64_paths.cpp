#include "installer/platform/wow64_paths.h"

#include "base/cp1250.h"

namespace ostravel::platform {
namespace {

// The length of `folder` when `path` names it or lies below it; 0 otherwise.
size_t Below(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.size() < folder.size()) return 0;
  if (!SameText(std::string_view(path).substr(0, folder.size()), folder)) return 0;
  if (path.size() > folder.size() && path[folder.size()] != '\\') return 0;
  return folder.size();
}

}  // namespace

std::string Wow64FileName(std::string path, const Wow64Folders& f) {
  if (f.wow64.empty() || f.system.empty()) return path;
  if (size_t n = Below(path, f.windows + "\\Sysnative")) return path.replace(0, n, f.system);
  const size_t n = Below(path, f.system);
  if (!n) return path;
  for (const char* exempt : {"\\catroot", "\\catroot2", "\\driverstore", "\\drivers\\etc", "\\logfiles", "\\spool"})
    if (Below(path, f.system + exempt)) return path;
  return path.replace(0, n, f.wow64);
}

}  // namespace ostravel::platform
