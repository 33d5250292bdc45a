#pragma once
#include <string>

#include "installer/platform/platform.h"

namespace ostravel::dbserver {

// Removes a Firebird installation older than `targetVersion`: only when a server
// is installed and the folder's server program ("bin\fb_inet_server.exe", else
// "bin\fbserver.exe") reports a version that sorts before it. Stops every server
// first; the folder is deleted only when that stop succeeded, so a server that is
// still running never loses its program files. True when the servers were stopped.
bool RemoveOlderInstallation(platform::Platform& machine, const std::string& folder,
                             const std::string& targetVersion);

}  // namespace ostravel::dbserver
