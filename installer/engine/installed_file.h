#pragma once
// What the update rules know of a file already on disk.
#include <cstdint>
#include <string>

#include "installer/platform/platform.h"

namespace ostravel::engine {

struct InstalledFile {
  bool exists = false;
  // Packed DOS date-time of the last write, as a directory search finds it
  // (hidden, system and read-only files included); 0 when nothing is found.
  int32_t time = 0;
  // "%d.%d.%d.%d" of the file version; empty without a version resource.
  std::string version;
  // "%d.%.2d" of the file version's major and release: the installed product version.
  std::string shortVersion;
};

// `withVersion` false skips the version resource when the caller needs only the
// time: most files of a package are data files without one.
InstalledFile InspectInstalledFile(platform::FileSystem& files, platform::System& system, const std::string& path,
                                   bool withVersion = true);

// MD5 of the file's content, 32 upper-case hexadecimal digits; "" when it cannot
// be read.
std::string FileDigest(platform::FileSystem& files, const std::string& path);

}  // namespace ostravel::engine
