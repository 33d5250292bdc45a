#pragma once
// The fixed file names of a medium folder.
#include "base/win32/shared_names.h"

namespace ostravel::media {

inline constexpr const char* kMediumScriptName = names::kScriptName;
// The launcher travels under the name the web update also gives it.
inline constexpr const char* kMediumLauncherName = "setup.exe";
inline constexpr const char* kMediumInstallerName = names::kCompressedInstallerName;

}  // namespace ostravel::media
