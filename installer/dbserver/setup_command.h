#pragma once
// The server's own setup program and the parameters it is run with.
#include <string>

#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

// "$TempFolder$\Firebird-2.5.4.26856_0_x64.exe" for the 64-bit server, else the
// "_Win32" one, expanded.
std::string SetupProgram(ServerContext& ctx);

// The common part expanded, then the component part as it stands (the classic
// or the super server components).
std::string SetupParameters(ServerContext& ctx);

}  // namespace ostravel::dbserver
