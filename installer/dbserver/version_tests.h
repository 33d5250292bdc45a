#pragma once
// The server program of a folder, its version text, and the two version tests
// against the target version. Versions compare as text, never as numbers.
#include <string>

#include "installer/platform/platform.h"

namespace ostravel::dbserver {

// Product major, minor, release and build joined by "." ("2.5.2.26540").
std::string VersionText(const platform::VersionRecord& record);

// The first of "bin\fb_inet_server.exe", "bin\fbserver.exe", "ibserver.exe" below
// the folder that exists; empty when none does.
std::string ServerProgramOf(platform::FileSystem& files, const std::string& folder);

// Version text of the folder's server program; empty when there is none or it has
// no readable version resource.
std::string ServerVersionOf(platform::Platform& machine, const std::string& folder);

// Used by the leave checks and the server preparation.
bool OlderThanTarget(platform::Platform& machine, const std::string& folder);
// Used by the verification; hands back the version found.
bool DiffersFromTarget(platform::Platform& machine, const std::string& folder, std::string& found);

}  // namespace ostravel::dbserver
