#include "installer/engine/finish_install.h"

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

bool ReplaceWithCopy(platform::FileSystem& files, const std::string& from, const std::string& to) {
  if (SameText(from, to)) return true;  // the shared copy itself is running
  if (!IsUsableTargetPath(to)) return false;  // no common-files folder known
  if (!files.CreateDirectories(FolderOf(to))) return false;
  if (files.FileExists(to)) files.DeleteFile(to);
  return files.CopyFile(from, to, true);
}

std::string SharedFolder(const PathVariables& vars) {
  return WithTrailing(vars.ExpandVariables("$CommonFilesFolder$"), '\\') + "Quillmarch Shared\\";
}

}  // namespace

RecordBlockHeader RecordHeaderFor(const ProcessState& process, const PathVariables& vars, const DateTime& start) {
  RecordBlockHeader h;
  h.installStartTime = start;
  h.source = WithoutTrailing(process.sourceFolder, '\\');
  std::string title = vars.ExpandVariables("$ApplicationName$;");
  h.title = NextToken(title, ';');
  return h;
}

bool SaveRecordBlock(RunContext& ctx) {
  if (!ctx.services.process.uninstallEnabled) return false;
  return SaveInstallRecordBlock(ctx.services.machine.files, ctx.services.variables.ExpandVariables(ctx.services.process.installRecordPath),
                                RecordHeaderFor(ctx.services.process, ctx.services.variables, ctx.choices.installStartTime), ctx.record);
}

const char* const kRecordUnreadable =
    "Az eltávolítási napló nem olvasható, ezért a Telepítő nem írta felül, hogy a korábbi telepítések adatai "
    "megmaradjanak: ";
const char* const kRecordSetAside = "Ennek a telepítésnek az adatai külön eltávolítási naplóba kerülnek: ";

namespace {

bool Unreadable(platform::FileSystem& files, const std::string& path) {
  std::string text;
  return files.FileExists(path) && !files.ReadFile(path, text);
}

}  // namespace

void SetAsideUnreadableRecord(RunContext& ctx) {
  if (!ctx.services.process.uninstallEnabled || ctx.services.process.UninstallMode()) return;
  platform::FileSystem& files = ctx.services.machine.files;
  const std::string record = ctx.services.variables.ExpandVariables(ctx.services.process.installRecordPath);
  if (Trim(record).empty() || !Unreadable(files, record)) return;
  std::string aside;
  for (int n = 1; n < 100 && aside.empty(); ++n)
    if (!Unreadable(files, record + "." + IntToStr(n))) aside = record + "." + IntToStr(n);
  LogQuietly(ctx, "Installation record unreadable, kept as it is: " + record +
                      (aside.empty() ? "; this installation is not recorded" : "; this installation is recorded in " + aside));
  ctx.errorJump(kRecordUnreadable + record + (aside.empty() ? "" : "\r\n" + std::string(kRecordSetAside) + aside));
  // Without a record of its own the installation writes no uninstall entry.
  ctx.services.process.installRecordPath = aside;
}

std::string SharedScriptCopyPath(const PathVariables& vars) {
  return SharedFolder(vars) + vars.ExpandVariables("$ApplicationName$") + "\\setup.inf";
}

bool PlaceSharedCopies(platform::FileSystem& files, const PathVariables& vars, const ProcessState& process) {
  const bool program = ReplaceWithCopy(files, process.programPath, SharedFolder(vars) + "setup.exe");
  const bool script = ReplaceWithCopy(files, process.sourceFolder + "setup.inf", SharedScriptCopyPath(vars));
  return program && script;
}

void FinishInstallation(RunContext& ctx) {
  if (!ctx.services.process.uninstallEnabled) return;
  SaveRecordBlock(ctx);
  PlaceSharedCopies(ctx.services.machine.files, ctx.services.variables, ctx.services.process);
}

}  // namespace ostravel::engine
