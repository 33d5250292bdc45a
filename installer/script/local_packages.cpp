#include "installer/script/local_packages.h"

#include "installer/script/script_lists.h"

namespace ostravel {

bool LocalPackagesPresent(const TExtIniFile& script, platform::FileSystem& fs, const std::string& sourceFolder) {
  for (const auto& c : ReadComponentList(script, "")) {
    if (c.size > 0 && fs.FileExists(sourceFolder + c.packName + ".dat")) return true;
  }
  return false;
}

}  // namespace ostravel
