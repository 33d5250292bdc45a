#include "installer/dbserver/server_preparation.h"

#include "base/text.h"
#include "installer/dbserver/config_file.h"
#include "installer/dbserver/detection.h"
#include "installer/dbserver/older_installation.h"
#include "installer/dbserver/server_names.h"
#include "installer/dbserver/server_registry.h"
#include "installer/dbserver/setup_command.h"
#include "installer/dbserver/setup_exit_code.h"
#include "installer/dbserver/version_tests.h"
#include "installer/engine/archive_backup_file.h"

namespace ostravel::dbserver {
namespace {

bool RemoveForUpgrade(ServerContext& ctx) {
  const model::ServerDecisions& s = ctx.server;
  if (Trim(s.serverFolder).empty() || !ctx.machine.files.FileExists(ctx.process.sourceFolder + kServerArchive) ||
      !s.hasAdminRights || !OlderThanTarget(ctx.machine, s.serverFolder))
    return true;
  if (RemoveOlderInstallation(ctx.machine, s.serverFolder, kTargetVersion)) return true;
  ErrorJump(ctx, kCannotStopFirebird);
  return false;
}

void Extract(ServerContext& ctx, const std::string& archive, const std::string& folder) {
  if (ctx.extract) return ctx.extract(archive, folder);
  engine::TBackupFile reader(ctx.machine.files);
  reader.RestoreMode = engine::rmAll;
  reader.RestoreFullPath = false;
  reader.ProcessMessages = [&] { ctx.machine.system.ProcessMessages(); };
  reader.Restore(archive, folder);
}

int RunServerSetup(ServerContext& ctx, bool webUpdateKind, const std::string& copyTargetFolder) {
  if (ctx.setStatus) ctx.setStatus("FireBird 2.5.4.26856 kiszolgáló alkalmazás telepítése...");
  const std::string from = webUpdateKind ? copyTargetFolder : ctx.process.sourceFolder;
  Extract(ctx, WithTrailing(from, '\\') + kServerArchive, ctx.variables.ExpandVariables("$TempFolder$") + "\\");
  const std::string program = SetupProgram(ctx);
  ctx.log.WriteLog("FireBird setup start: " + program);
  // Quoted, so a temporary folder with a blank never starts another program.
  int code = ctx.machine.system.RunAndWait("\"" + program + "\"", SetupParameters(ctx));
  ctx.log.WriteLog("FireBird setup done: " + IntToStr(code));
  // A setup that could not be started counts as 0; the verification has the last word.
  return code == platform::System::kRunFailed ? 0 : code;
}

void Configure(ServerContext& ctx) {
  const std::string& folder = ctx.server.serverFolder;
  // Without a server folder there is no configuration to edit (and no file at the
  // drive root that "\firebird.conf" would name).
  if (Trim(folder).empty() || !ctx.machine.files.FileExists(WithTrailing(folder, '\\') + "firebird.conf")) return;
  EditConfigurationKey(ctx.machine.files, folder, "CpuAffinityMask", "255");
  EditConfigurationKey(ctx.machine.files, folder, "GCPolicy", "background");
}

bool Verify(ServerContext& ctx, int exitCode) {
  std::string found;
  if (!ctx.server.installServer || !DiffersFromTarget(ctx.machine, ctx.server.serverFolder, found)) return true;
  ctx.log.WriteLog("FireBird version after setup: " + found);
  if (SetupSucceeded(exitCode)) ShowServerErrorBox(ctx, kServerSetupFailed);
  ErrorJump(ctx, kServerSetupFailed);
  return false;
}

}  // namespace

bool PrepareServer(ServerContext& ctx, bool webUpdateKind, const std::string& copyTargetFolder) {
  if (!RemoveForUpgrade(ctx)) return false;
  CleanCompatibilityLayers(ctx.machine.registry);
  MarkServerRunAsAdmin(ctx);
  int exitCode = 0;
  if (ctx.server.installServer) {
    exitCode = RunServerSetup(ctx, webUpdateKind, copyTargetFolder);
    ReportSetupExitCode(ctx, exitCode);
  }
  ctx.server.serverFolder = SearchServerFolder(ctx, 2, 5);
  Configure(ctx);
  RemoveAutostartValue(ctx.machine);
  WriteDefaultInstance(ctx.machine.registry, ctx.server.serverFolder);
  return Verify(ctx, exitCode);
}

}  // namespace ostravel::dbserver
