#include "installer/dbserver/leave_checks.h"

#include <algorithm>

#include "base/text.h"
#include "installer/dbserver/detection.h"
#include "installer/dbserver/server_names.h"
#include "installer/dbserver/server_restore.h"
#include "installer/dbserver/version_tests.h"

namespace ostravel::dbserver {
namespace {

bool ArchiveBesideInstaller(ServerContext& ctx) {
  return ctx.services.machine.files.FileExists(ctx.services.process.sourceFolder + kServerArchive);
}

bool HasFolder(const model::ServerDecisions& s) { return !Trim(s.serverFolder).empty(); }

// Restores the application on every way out of the stop.
struct RestoreOnExit {
  ServerContext& ctx;
  ~RestoreOnExit() {
    if (ctx.restore) ctx.restore();
  }
};

bool StopForUpgrade(ServerContext& ctx) {
  if (ctx.minimise) ctx.minimise();
  RestoreOnExit restore{ctx};
  if (StopRememberedServers(ctx)) return true;
  ErrorJump(ctx, kCannotStopRunningServer);
  return false;
}

model::InstallModuleEntry* FindModule(std::vector<model::InstallModuleEntry>& modules, const char* name) {
  auto it = std::find_if(modules.begin(), modules.end(), [&](const auto& m) { return m.name == name; });
  return it == modules.end() ? nullptr : &*it;
}

}  // namespace

bool InstallKindLeaveCheck(ServerContext& ctx, bool archiveAvailable) {
  model::ServerDecisions& s = ctx.server;
  s.serverFolder = SearchServerFolder(ctx, 0, 0);
  const bool older = HasFolder(s) && OlderThanTarget(ctx.services.machine, s.serverFolder);
  s.upgradeServer = HasFolder(s) && archiveAvailable && s.hasAdminRights && older;
  if (s.upgradeServer) return StopForUpgrade(ctx);
  if (HasFolder(s) && archiveAvailable && !s.hasAdminRights && older) {
    ErrorJump(ctx, kAdminRightsNeeded);
    return false;
  }
  return true;
}

void DestinationLeaveCheck(ServerContext& ctx, bool windowsVariant) {
  model::ServerDecisions& s = ctx.server;
  if (ctx.services.process.SilentMode()) {
    s.writeAppDefaults = true;
    s.freshServerInstall = false;
  } else if (windowsVariant && ctx.services.variables.VariableHasValue("$varProgramYear$") &&
             ArchiveBesideInstaller(ctx) && !ServerInstalled(ctx.services.machine) &&
             !ctx.services.machine.files.FileExists(ctx.services.variables.ExpandVariables(
                 "$DefaultDestination$\\$varProgramYear$\\korb$varProgramYear$.ini"))) {
    s.writeAppDefaults = true;
    s.freshServerInstall = true;
  }
  s.installServer = ArchiveBesideInstaller(ctx) && s.hasAdminRights &&
                    (s.freshServerInstall || (HasFolder(s) && OlderThanTarget(ctx.services.machine, s.serverFolder)));
}

void ApplyServerModuleRules(ServerContext& ctx, std::vector<model::InstallModuleEntry>& modules) {
  model::ServerDecisions& s = ctx.server;
  model::InstallModuleEntry* server = FindModule(modules, "FireBird");
  if (server) server->included = s.installServer || s.freshServerInstall;
  const model::InstallModuleEntry* pettybox = FindModule(modules, "PETTYBOX");
  if (server && pettybox && pettybox->included && server->packagePresent &&
      (s.installServer || !ServerInstalled(ctx.services.machine))) {
    server->included = true;
    s.installServer = true;
  }
}

}  // namespace ostravel::dbserver
