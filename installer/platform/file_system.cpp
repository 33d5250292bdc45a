#include "installer/platform/files.h"

#include "base/text.h"

namespace ostravel::platform {

bool FileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (Find(to) || !CopyFile(from, to, false)) return false;
  if (DeleteFile(from)) return true;
  DeleteFile(to);
  return false;
}

std::vector<std::string> FileSystem::SubFolders(const std::string& folder) {
  std::vector<std::string> folders;
  const std::string parent = WithTrailing(folder, '\\');
  for (const std::string& name : List(folder))
    if (DirectoryExists(parent + name)) folders.push_back(name);
  return folders;
}

}  // namespace ostravel::platform
