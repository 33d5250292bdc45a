#pragma once
// Whether the medium carries package archives: the launch decision and the
// installation-kind page ask the same question.
#include <string>

#include "installer/platform/platform.h"
#include "installer/script/ext_ini_file.h"

namespace ostravel {

// A component of the base [Components] with Size above 0 whose archive
// sourceFolder + PackName + ".dat" exists.
bool LocalPackagesPresent(const TExtIniFile& script, platform::FileSystem& fs, const std::string& sourceFolder);

}  // namespace ostravel
