#include "installer/dbserver/old_server_files.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::dbserver {
namespace {

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void Prune(platform::FileSystem& files, const std::string& folder, std::vector<std::string>& kept) {
  for (const std::string& name : files.List(folder)) {
    const std::string path = folder + "\\" + name;
    const auto info = files.Find(path);
    if (!info) continue;
    const bool link = info->attributes & platform::kAttrReparsePoint;
    if (info->IsDirectory()) {
      if (!link) Prune(files, path, kept);
      files.RemoveDirectory(path);  // only when empty, or a link
    } else if (KeptFromOldServer(name)) {
      kept.push_back(path);
    } else {
      if (!link) files.SetAttributes(path, platform::kAttrNormal);
      files.DeleteFile(path);
    }
  }
}

}  // namespace

bool KeptFromOldServer(const std::string& fileName) {
  const std::string name = LowerCase(fileName);
  for (const char* conf : {"aliases.conf", "databases.conf", "firebird.conf"})
    if (name == conf) return true;
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return false;
  const std::string ext = name.substr(dot);
  for (const char* kept : {".fdb", ".gdb", ".fbk", ".gbk", ".ib"})
    if (ext == kept) return true;
  return false;
}

std::string AsideFolderFor(platform::FileSystem& files, const std::string& folder, const DateTime& now) {
  const std::string base = ParentOf(WithoutTrailing(folder, '\\'));
  const std::string stem = base + Format("-backup-%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day, now.hour,
                                         now.minute, now.second);
  std::string aside = stem;
  for (int n = 2; files.Find(aside); ++n) aside = stem + "-" + IntToStr(n);
  return aside;
}

std::vector<std::string> KeepOnlyWhatMatters(platform::FileSystem& files, const std::string& folder) {
  std::vector<std::string> kept;
  const std::string root = WithoutTrailing(folder, '\\');
  const auto info = files.Find(root);
  if (!info || !info->IsDirectory() || (info->attributes & platform::kAttrReparsePoint)) return kept;
  Prune(files, root, kept);
  files.RemoveDirectory(root);
  return kept;
}

}  // namespace ostravel::dbserver
