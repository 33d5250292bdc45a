#pragma once
// The fixed file names of a medium folder.
#include "startup/launcher_names.h"

namespace ostravel::media {

inline constexpr const char* kMediumScriptName = startup::kScriptName;
// The launcher travels under the name the web update also gives it.
inline constexpr const char* kMediumLauncherName = "setup.exe";
inline constexpr const char* kMediumInstallerName = startup::kCompressedInstallerName;

}  // namespace ostravel::media
