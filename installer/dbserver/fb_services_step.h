#pragma once
#include <string>

#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

// The folder the installation run points the services at (its step before the
// external installers): "$ProgramFilesFolder64$\Firebird\Firebird_2_5" for the
// 64-bit server, else "$ProgramFilesFolder$\Firebird\Firebird_2_5", expanded, no
// trailing "\".
std::string ServiceServerFolder(ServerContext& ctx);

// Called by the installation run's step "AlterFBWindowsService" with that folder:
// the guardian and the super server when the folder holds "bin\fbserver.exe",
// else the classic server when it holds "bin\fb_inet_server.exe", each pointed at
// the folder and started. Every other service a stop took (the InterBase server,
// or all of them when the folder holds no server) is put back as it was. Failures
// are passed over.
void AlterFBWindowsService(ServerContext& ctx, const std::string& serverFolder);

}  // namespace ostravel::dbserver
