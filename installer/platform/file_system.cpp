#include "installer/platform/files.h"

namespace ostravel::platform {

bool FileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (Find(to) || !CopyFile(from, to, false)) return false;
  if (DeleteFile(from)) return true;
  DeleteFile(to);
  return false;
}

}  // namespace ostravel::platform
