#pragma once
// Pointing the Firebird services at a server folder: the program line, creating a
// service from its row, starting it, and the reconfiguration that does all three.
#include <string>

#include "installer/platform/platform.h"

namespace ostravel::dbserver {

// Double quote, folder (ending with "\"), "bin\", program, double quote,
// " -s DefaultInstance".
std::string ServiceProgramLine(const std::string& folder, const std::string& program);

// Registers the service row of `program` ("fbguard.exe" for the guardian,
// "fbserver.exe" or "fb_inet_server.exe" for the server) for the folder; an empty
// folder means the registered default instance, and nothing is created when that
// is empty too. True when the system created it.
bool CreateServerService(platform::Platform& machine, const std::string& name, const std::string& program,
                         const std::string& folder);

// True when the start request was accepted; a missing service gives false.
bool StartServerService(platform::Services& services, const std::string& name);

// Sets the program line and start type of an existing service (everything else as
// it was) or creates a missing one, then starts it. An empty folder means the
// registered default instance; when that is empty too, it is only started.
void ReconfigureAndStartService(platform::Platform& machine, const std::string& name, const std::string& program,
                                const std::string& folder);

}  // namespace ostravel::dbserver
