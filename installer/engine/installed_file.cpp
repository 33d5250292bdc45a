#include "installer/engine/installed_file.h"

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

}  // namespace ostravel::engine
