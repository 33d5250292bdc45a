#include "installer/engine/finish_install.h"

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/record_digest.h"
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
  const std::string path = ctx.services.variables.ExpandVariables(ctx.services.process.installRecordPath);
  RecordBlockHeader header =
      RecordHeaderFor(ctx.services.process, ctx.services.variables, ctx.choices.installStartTime);
  header.runState = ctx.runState;
  return SaveInstallRecordBlock(ctx.services.machine.files, path, header, ctx.record, &ctx.services.machine.registry);
}

const char* const kRecordUnreadable =
    "Az eltávolítási napló nem olvasható, ezért a Telepítő nem írta felül, hogy a korábbi telepítések adatai "
    "megmaradjanak: ";
const char* const kRecordChanged =
    "Az eltávolítási napló a legutóbbi mentése óta megváltozott, ezért a Telepítő nem írta felül: ";
const char* const kRecordSetAside = "Ennek a telepítésnek az adatai külön eltávolítási naplóba kerülnek: ";

namespace {

enum class RecordState { Usable, Unreadable, Changed };

// A record changed behind the installer's back is not merged into: a save would
// take its lines on and keep a digest that vouches for them.
RecordState StateOf(platform::Platform& machine, const std::string& path) {
  std::string text;
  if (!machine.files.FileExists(path)) return RecordState::Usable;
  if (!machine.files.ReadFile(path, text)) return RecordState::Unreadable;
  return RecordDigestMatches(machine.registry, path, text) ? RecordState::Usable : RecordState::Changed;
}

}  // namespace

void SetAsideUnreadableRecord(RunContext& ctx) {
  if (!ctx.services.process.uninstallEnabled || ctx.services.process.UninstallMode()) return;
  platform::Platform& machine = ctx.services.machine;
  const std::string record = ctx.services.variables.ExpandVariables(ctx.services.process.installRecordPath);
  if (Trim(record).empty()) return;
  const RecordState state = StateOf(machine, record);
  if (state == RecordState::Usable) return;
  std::string aside;
  for (int n = 1; n < 100 && aside.empty(); ++n)
    if (StateOf(machine, record + "." + IntToStr(n)) == RecordState::Usable) aside = record + "." + IntToStr(n);
  const bool changed = state == RecordState::Changed;
  LogQuietly(ctx, std::string(changed ? "Installation record changed since its last save" : "Installation record unreadable") +
                      ", kept as it is: " + record +
                      (aside.empty() ? "; this installation is not recorded" : "; this installation is recorded in " + aside));
  ctx.errorJump((changed ? kRecordChanged : kRecordUnreadable) + record +
                (aside.empty() ? "" : "\r\n" + std::string(kRecordSetAside) + aside));
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
