#pragma once
// Where a 32-bit program's file names lead on 64-bit Windows, for the x86_64 build
// that stands in for it (the system redirects the i686 build itself).
#include <string>

namespace ostravel::platform {

// The folders of the rule, without trailing "\"; wow64 is empty on 32-bit Windows.
struct Wow64Folders {
  std::string windows, system, wow64;
};

// A path in the system folder reaches the 32-bit system folder, but for the folders
// the system leaves in place (catroot, catroot2, driverstore, drivers\etc, logfiles,
// spool); "<windows>\Sysnative" reaches the real system folder. Letter case is
// ignored; any other path is returned as it is.
std::string Wow64FileName(std::string path, const Wow64Folders& folders);

}  // namespace ostravel::platform
