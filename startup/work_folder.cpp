#include "startup/work_folder.h"

#include "base/text.h"
#include "base/win32/shared_names.h"

namespace ostravel::startup {

std::string FindFreshFolder(std::string_view tempFolder, const std::function<bool(const std::string&)>& exists) {
  for (unsigned n = 0;; ++n) {
    std::string candidate = std::string(tempFolder) + names::kFreshFolderPrefix + std::to_string(n);
    if (!exists(candidate)) return candidate;
  }
}

std::string ExpandWinDrive(std::string_view copyTarget, std::string_view windowsFolder) {
  constexpr std::string_view kVariable = "$WinDrive$";
  std::string out(copyTarget);
  const size_t at = out.find(kVariable);
  if (at != std::string::npos) out.replace(at, kVariable.size(), windowsFolder.substr(0, 1));
  return out;
}

bool ForceFolders(std::string_view path, const FolderOps& ops) {
  std::string folder = WithoutTrailing(path, '\\');
  if (folder.size() <= 2 || ops.exists(folder)) return true;
  const size_t slash = folder.find_last_of("\\:");
  // A bare name or "X:\" root: nothing above it to create.
  if (slash != std::string::npos && slash + 1 < folder.size()) {
    if (!ForceFolders(std::string_view(folder).substr(0, slash + (folder[slash] == ':' ? 1 : 0)), ops)) return false;
  }
  return ops.createOne(folder) || ops.exists(folder);
}

std::string ChooseWorkFolder(const WorkFolderInput& in, const FolderOps& ops) {
  std::string folder = in.copyEnabled == "1" ? ExpandWinDrive(in.copyTarget, in.windowsFolder) : in.freshFolder;
  ForceFolders(folder, ops);
  if (!ops.exists(WithoutTrailing(folder, '\\')) && folder != in.freshFolder) {
    folder = in.freshFolder;
    ForceFolders(folder, ops);
  }
  return WithTrailing(folder, '\\');
}

}  // namespace ostravel::startup
