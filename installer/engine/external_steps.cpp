// Hand-over points to the network code (installer/net) and the database-server
// code (installer/dbserver). The database-server hooks only leave a line in the
// diagnostic log until that code is there; the run's order around them is final.
#include "installer/engine/external_steps.h"

#include "installer/net/package_download.h"

namespace ostravel::engine {

bool DownloadPackages(RunContext& ctx) {
  if (!ctx.downloadStatistics) {
    ctx.log.WriteLog("DownloadPackages: no download-statistics surface bound");
    return false;
  }
  net::DownloadRun run = net::MakeDownloadRun(ctx, *ctx.downloadStatistics);
  return net::RunWebDownload(run);
}

bool PrepareDatabaseServer(RunContext& ctx) {
  if (ctx.server.installServer || ctx.server.upgradeServer)
    ctx.log.WriteLog("PrepareDatabaseServer: no database-server code bound");
  return true;
}

void UpdateApplicationIni(RunContext& ctx) { ctx.log.WriteLog("BelloroIniUpdate: no database-server code bound"); }

void ReconfigureServerService(RunContext& ctx, const std::string& service, const std::string& program,
                              const std::string& serverFolder) {
  ctx.log.WriteLog("AlterFBWindowsService: no service code bound for " + service + " (" + serverFolder + program +
                   ")");
}

bool TopLevelWindowWithTitleExists(RunContext&, const std::string&) { return false; }

}  // namespace ostravel::engine
