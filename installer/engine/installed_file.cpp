#include "installer/engine/installed_file.h"

#include "base/md5.h"
#include "base/text.h"

namespace ostravel::engine {

InstalledFile InspectInstalledFile(platform::FileSystem& files, platform::System& system, const std::string& path,
                                   bool withVersion) {
  InstalledFile facts;
  if (auto info = files.Find(path)) {
    facts.time = int32_t(info->dosTime);
    facts.exists = !info->IsDirectory();
  }
  if (!facts.exists || !withVersion) return facts;
  const platform::VersionRecord v = system.ReadVersion(path);
  if (v.valid) {
    facts.version = Format("%d.%d.%d.%d", v.fileMajor, v.fileMinor, v.fileRelease, v.fileBuild);
    facts.shortVersion = Format("%d.%.2d", v.fileMajor, v.fileRelease);
  }
  return facts;
}

std::string FileDigest(platform::FileSystem& files, const std::string& path) {
  auto in = files.OpenRead(path);
  if (!in) return "";
  Md5 md5;
  char buffer[65536];
  for (;;) {
    int64_t n = in->Read(buffer, sizeof buffer);
    if (n < 0) return "";
    if (n == 0) break;
    md5.Update(buffer, size_t(n));
  }
  return md5.HexDigest();
}

}  // namespace ostravel::engine
