#include "installer/dbserver/fb_services_step.h"

#include "installer/dbserver/detection.h"
#include "installer/dbserver/server_names.h"
#include "installer/dbserver/server_restore.h"
#include "installer/dbserver/service_setup.h"

namespace ostravel::dbserver {

std::string ServiceServerFolder(ServerContext& ctx) {
  return ctx.services.variables.ExpandVariables(Use64BitServer(ctx.services.machine)
                                                    ? "$ProgramFilesFolder64$\\Firebird\\Firebird_2_5"
                                                    : "$ProgramFilesFolder$\\Firebird\\Firebird_2_5");
}

void AlterFBWindowsService(ServerContext& ctx, const std::string& serverFolder) {
  platform::Platform& machine = ctx.services.machine;
  const std::string folder = serverFolder + "\\";
  std::vector<std::string> settled;
  if (machine.files.FileExists(serverFolder + "\\bin\\fbserver.exe")) {
    ReconfigureAndStartService(machine, kGuardianService, kGuardian, folder);
    ReconfigureAndStartService(machine, kServerService, kSuperServer, folder);
    settled = {kGuardianService, kServerService};
  } else if (machine.files.FileExists(serverFolder + "\\bin\\fb_inet_server.exe")) {
    ReconfigureAndStartService(machine, kServerService, kClassicServer, folder);
    settled = {kServerService};
  }
  // What the reconfiguration did not touch goes back as the first stop found it.
  RestoreServers(ctx, settled);
}

}  // namespace ostravel::dbserver
