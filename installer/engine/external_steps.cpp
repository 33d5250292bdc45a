// Hand-over points to the network code (installer/net) and the database-server
// code (installer/dbserver).
#include "installer/engine/external_steps.h"

#include "base/text.h"
#include "installer/dbserver/app_ini_defaults.h"
#include "installer/dbserver/fb_services_step.h"
#include "installer/dbserver/server_preparation.h"
#include "installer/engine/archive_backup_file.h"
#include "installer/net/package_download.h"

namespace ostravel::engine {
namespace {

dbserver::ServerContext ServerContextOf(RunContext& ctx) {
  dbserver::ServerContext server{ctx.services, ctx.server};
  server.errorJump = ctx.errorJump;
  server.setStatus = [&ctx](const std::string& text) { ctx.progress.SetStatus(text); };
  server.extract = [&ctx](const std::string& archive, const std::string& folder) {
    return ExtractServerArchive(ctx.services.machine, ctx.services.log, archive, folder);
  };
  return server;
}

// The download pass on the run's models, progress page and error jump.
net::DownloadRun DownloadRunOf(RunContext& ctx, net::DownloadStatisticsSurface& statistics) {
  return net::DownloadRun{
      net::NetContext{ctx.services, nullptr},           ctx.selection, ctx.web, ctx.progress, statistics,
      WithTrailing(ctx.choices.copyTargetFolder, '\\'), ctx.errorJump, nullptr};
}

}  // namespace

bool ExtractServerArchive(platform::Platform& machine, DiagnosticLog& log, const std::string& archive,
                          const std::string& folder) {
  TBackupFile reader(machine.files);
  reader.RestoreMode = rmAll;
  reader.RestoreFullPath = false;
  reader.ProcessMessages = [&] { machine.system.ProcessMessages(); };
  try {
    return reader.Restore(archive, folder);
  } catch (const std::exception& e) {
    log.WriteLog("FireBird archive unreadable: " + std::string(e.what()));
    return false;
  }
}

bool DownloadPackages(RunContext& ctx) {
  if (!ctx.downloadStatistics) {
    ctx.services.log.WriteLog("DownloadPackages: no download-statistics surface bound");
    return false;
  }
  net::DownloadRun run = DownloadRunOf(ctx, *ctx.downloadStatistics);
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
