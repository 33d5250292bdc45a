// Hand-over points to the network code (installer/net) and the database-server
// code (installer/dbserver).
#include "installer/engine/external_steps.h"

#include "installer/dbserver/app_ini_defaults.h"
#include "installer/dbserver/fb_services_step.h"
#include "installer/dbserver/server_preparation.h"
#include "installer/net/package_download.h"

namespace ostravel::engine {
namespace {

dbserver::ServerContext ServerContextOf(RunContext& ctx) {
  dbserver::ServerContext server{ctx.machine, ctx.process, ctx.variables, ctx.log, ctx.dialogs, ctx.server};
  server.errorJump = ctx.errorJump;
  server.setStatus = [&ctx](const std::string& text) { ctx.progress.SetStatus(text); };
  return server;
}

}  // namespace

bool DownloadPackages(RunContext& ctx) {
  if (!ctx.downloadStatistics) {
    ctx.log.WriteLog("DownloadPackages: no download-statistics surface bound");
    return false;
  }
  net::DownloadRun run = net::MakeDownloadRun(ctx, *ctx.downloadStatistics);
  return net::RunWebDownload(run);
}

bool PrepareDatabaseServer(RunContext& ctx) {
  dbserver::ServerContext server = ServerContextOf(ctx);
  return dbserver::PrepareServer(server, ctx.choices.webUpdateKind, ctx.choices.copyTargetFolder);
}

void UpdateApplicationIni(RunContext& ctx) {
  dbserver::ServerContext server = ServerContextOf(ctx);
  dbserver::WriteApplicationIniDefaults(server, ctx.server.writeAppDefaults, ctx.server.freshServerInstall);
}

std::string ServerFolderForServices(RunContext& ctx) {
  dbserver::ServerContext server = ServerContextOf(ctx);
  return dbserver::ServiceServerFolder(server);
}

void AlterServerServices(RunContext& ctx, const std::string& serverFolder) {
  dbserver::ServerContext server = ServerContextOf(ctx);
  dbserver::AlterFBWindowsService(server, serverFolder);
}

}  // namespace ostravel::engine
