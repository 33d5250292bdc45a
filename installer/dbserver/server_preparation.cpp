#include "installer/dbserver/server_preparation.h"

#include "base/text.h"
#include "installer/dbserver/config_file.h"
#include "installer/dbserver/detection.h"
#include "installer/dbserver/older_installation.h"
#include "installer/dbserver/server_names.h"
#include "installer/dbserver/server_registry.h"
#include "installer/dbserver/server_restore.h"
#include "installer/dbserver/setup_command.h"
#include "installer/dbserver/setup_exit_code.h"
#include "installer/dbserver/version_tests.h"

namespace ostravel::dbserver {
namespace {

struct SetupRun {
  std::string failure;  // why no server could be installed; empty when the setup ran
  int exitCode = 0;
  bool boxShown = false;  // the exit-code box was shown already
};

bool ArchiveBesideInstaller(ServerContext& ctx) {
  return ctx.services.machine.files.FileExists(ctx.services.process.sourceFolder + kServerArchive);
}

// A server is only replaced when a new one is to be installed.
bool SetOlderServerAside(ServerContext& ctx, SetAside& aside) {
  const model::ServerDecisions& s = ctx.server;
  if (Trim(s.serverFolder).empty() || !ArchiveBesideInstaller(ctx) || !s.hasAdminRights || !s.installServer ||
      !OlderThanTarget(ctx.services.machine, s.serverFolder))
    return true;
  const AsideResult result = SetOlderInstallationAside(ctx, s.serverFolder, kTargetVersion, aside);
  if (result == AsideResult::NotOlder || result == AsideResult::Moved) return true;
  RestoreServers(ctx);
  ErrorJump(ctx, kCannotStopFirebird);
  return false;
}

// The caller's archive reader does it; without one there is nothing to run.
bool Extract(ServerContext& ctx, const std::string& archive, const std::string& folder) {
  return ctx.extract && ctx.extract(archive, folder);
}

SetupRun RunServerSetup(ServerContext& ctx, bool webUpdateKind, const std::string& copyTargetFolder) {
  if (ctx.setStatus) ctx.setStatus("FireBird 2.5.4.26856 kiszolgáló alkalmazás telepítése...");
  const std::string from = webUpdateKind ? copyTargetFolder : ctx.services.process.sourceFolder;
  const std::string program = SetupProgram(ctx);
  // A copy left by an earlier run must never stand in for this archive's.
  if (ctx.services.machine.files.FileExists(program)) ctx.services.machine.files.DeleteFile(program);
  const std::string archive = WithTrailing(from, '\\') + kServerArchive;
  if (!Extract(ctx, archive, ctx.services.variables.ExpandVariables("$TempFolder$") + "\\") ||
      !ctx.services.machine.files.FileExists(program))
    return {archive + " could not be extracted"};
  ctx.services.log.WriteLog("FireBird setup start: " + program);
  // Quoted, so a temporary folder with a blank never starts another program.
  const int code = ctx.services.machine.system.RunAndWait("\"" + program + "\"", SetupParameters(ctx));
  ctx.services.log.WriteLog("FireBird setup done: " + IntToStr(code));
  if (code == platform::System::kRunFailed) return {program + " could not be started"};
  ReportSetupExitCode(ctx, code);
  return {"", code, !SetupSucceeded(code)};
}

// The new server is there when a 2.5 folder was found whose server program
// reports the target version.
std::string VerificationFailure(ServerContext& ctx, const SetupRun& setup) {
  if (!setup.failure.empty()) return setup.failure;
  if (Trim(ctx.server.serverFolder).empty()) return "no FireBird 2.5 folder after the setup";
  std::string found;
  if (DiffersFromTarget(ctx.services.machine, ctx.server.serverFolder, found) || found.empty())
    return "FireBird version after setup: " + (found.empty() ? std::string("none") : found);
  return "";
}

void Configure(ServerContext& ctx) {
  const std::string& folder = ctx.server.serverFolder;
  // Without a server folder there is no configuration to edit (and no file at the
  // drive root that "\firebird.conf" would name).
  if (Trim(folder).empty() || !ctx.services.machine.files.FileExists(WithTrailing(folder, '\\') + "firebird.conf"))
    return;
  EditConfigurationKey(ctx.services.machine.files, folder, "CpuAffinityMask", "255");
  EditConfigurationKey(ctx.services.machine.files, folder, "GCPolicy", "background");
}

// The machine as it was before the setup: the old folder back, DefaultInstance as
// it read, the services as the first stop found them.
void UndoServerSetup(ServerContext& ctx, const SetAside& aside, const std::optional<std::string>& defaultInstance) {
  if (PutOlderInstallationBack(ctx, aside) && !aside.aside.empty()) ctx.server.serverFolder = aside.folder + "\\";
  if (defaultInstance)
    WriteDefaultInstance(ctx.services.machine.registry, *defaultInstance);
  else
    ctx.services.machine.registry.DeleteValue(platform::RootKey::LocalMachine, kInstancesKey, kDefaultInstance);
  RestoreServers(ctx);
}

std::optional<std::string> ReadRegisteredInstance(platform::Registry& registry) {
  std::string value;
  if (registry.ReadString(platform::RootKey::LocalMachine, kInstancesKey, kDefaultInstance, value) !=
      platform::RegRead::Ok)
    return std::nullopt;
  return value;
}

}  // namespace

bool PrepareServer(ServerContext& ctx, bool webUpdateKind, const std::string& copyTargetFolder) {
  SetAside aside;
  if (!SetOlderServerAside(ctx, aside)) return false;
  CleanCompatibilityLayers(ctx.services.machine.registry);
  MarkServerRunAsAdmin(ctx);
  const std::optional<std::string> defaultInstance = ReadRegisteredInstance(ctx.services.machine.registry);
  SetupRun setup;
  if (ctx.server.installServer) setup = RunServerSetup(ctx, webUpdateKind, copyTargetFolder);
  ctx.server.serverFolder = SearchServerFolder(ctx, 2, 5);
  RemoveAutostartValue(ctx.services.machine);
  const std::string failure = ctx.server.installServer ? VerificationFailure(ctx, setup) : "";
  if (!failure.empty()) {
    ctx.services.log.WriteLog("FireBird setup failed: " + failure);
    UndoServerSetup(ctx, aside, defaultInstance);
    if (!setup.boxShown) ShowServerErrorBox(ctx, kServerSetupFailed);
    ErrorJump(ctx, kServerSetupFailed);
    return false;
  }
  Configure(ctx);
  // A search that found no 2.5 folder says nothing about the registered server.
  if (!Trim(ctx.server.serverFolder).empty())
    WriteDefaultInstance(ctx.services.machine.registry, ctx.server.serverFolder);
  KeepOldServerFiles(ctx, aside);
  return true;
}

}  // namespace ostravel::dbserver
