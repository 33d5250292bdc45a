#include "base/text.h"
#include "installer/platform/files.h"

namespace ostravel::platform {
namespace {

bool IsLink(const FileInfo& info) { return info.attributes & kAttrReparsePoint; }

void DeleteContents(FileSystem& fs, const std::string& folder) {
  const std::vector<std::string> names = fs.List(folder);
  // Subfolders first, then the files, as the removal of an old installation did.
  for (const std::string& name : names) {
    const std::string path = folder + "\\" + name;
    auto info = fs.Find(path);
    if (!info || !info->IsDirectory()) continue;
    if (!IsLink(*info)) DeleteContents(fs, path);
    fs.RemoveDirectory(path);
  }
  for (const std::string& name : names) {
    const std::string path = folder + "\\" + name;
    auto info = fs.Find(path);
    if (!info || info->IsDirectory()) continue;
    if (!IsLink(*info)) fs.SetAttributes(path, kAttrNormal);
    fs.DeleteFile(path);
  }
}

}  // namespace

bool FileSystem::DeleteTree(const std::string& folder) {
  const std::string root = WithoutTrailing(Trim(folder), '\\');
  if (root.empty() || (root.size() == 2 && root[1] == ':')) return false;
  auto info = Find(root);
  if (!info || !info->IsDirectory()) return false;
  if (!IsLink(*info)) DeleteContents(*this, root);
  RemoveDirectory(root);
  return !Find(root);
}

}  // namespace ostravel::platform
