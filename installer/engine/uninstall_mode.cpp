#include "base/text.h"
#include "installer/engine/backups.h"
#include "installer/engine/install_run.h"
#include "installer/engine/record_blocks.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/run_log.h"
#include "installer/engine/unfinished_run.h"
#include "installer/engine/uninstall_kinds.h"
#include "installer/engine/uninstall_run.h"

namespace ostravel::engine {

const char* const kRecordUnreadableAtUninstall =
    "Az eltávolítási napló nem olvasható, ezért az eltávolítás nem lehetséges: ";
const char* const kRecordChangedAtUninstall =
    "Az eltávolítási napló a legutóbbi telepítés óta megváltozott, ezért az eltávolítás nem lehetséges: ";

UninstallKindChoice ChosenUninstallKind(const RunContext& ctx) {
  const int kind = ctx.choices.uninstallKindIndex;
  if (kind >= 0 && kind == ctx.selection.rollbackKindIndex) return UninstallKindChoice::Rollback;
  if (kind >= 0 && kind == ctx.selection.repairKindIndex) return UninstallKindChoice::Repair;
  return UninstallKindChoice::FullUninstall;
}

bool HeldOpen(platform::FileSystem& files, const std::string& path) {
  const auto info = files.Find(path);
  if (!info || info->IsDirectory()) return false;
  const bool readOnly = info->attributes & platform::kAttrReadOnly;
  if (readOnly) files.SetAttributes(path, info->attributes & ~uint32_t(platform::kAttrReadOnly));
  const bool open = files.CanOpenExclusive(path);
  if (readOnly) files.SetAttributes(path, info->attributes);
  return !open;
}

void LogQuietly(RunContext& ctx, const std::string& text) {
  try {
    ctx.services.log.WriteLog(text);
  } catch (...) {
  }
}

void RunFullUninstall(RunContext& ctx, const UninstallFrame& frame) {
  const std::vector<UninstallAction> actions = ParseInstallRecord(frame.recordText);
  const std::string& record = ctx.services.process.installRecordPath;
  RemoveBackups(ctx, BackupsOf(SplitLines(frame.recordText), record), record, frame.texts.removeBackup);
  ctx.progress.SetStatus("Uninstalling ...");
  ctx.progress.ProcessMessages();
  const FileList none;
  RunLog(ctx, none).Step("Uninstall", [&] { Uninstall(ctx, actions); });
  ctx.end = RunEnd::Success;
}

void RunUninstall(RunContext& ctx) {
  UninstallFrame frame;
  frame.texts = WithScript(ctx.services.machine.files, ctx.services.process.scriptPath,
                           [](TExtIniFile& script) { return ReadCopyFilesPageSection(script); });
  ctx.progress.SetSmooth(frame.texts.smooth);
  ctx.progress.SetInfo(ctx.services.variables.ExpandVariables(frame.texts.info));
  ctx.progress.SetStatus("Collecting uninstall informations ...");
  ctx.progress.ProcessMessages();
  const std::string& record = ctx.services.process.installRecordPath;
  if (ctx.services.machine.files.FileExists(record) && !ctx.services.machine.files.ReadFile(record, frame.recordText)) {
    // Removing nothing and deleting the record would lose every installation in it.
    LogQuietly(ctx, "Installation record unreadable, nothing removed: " + record);
    ctx.errorJump(kRecordUnreadableAtUninstall + record);
    ctx.end = RunEnd::Stopped;
    return;
  }
  // The uninstall deletes whatever paths the record lists, with the rights it runs with.
  if (ctx.services.machine.files.FileExists(record) &&
      !RecordDigestMatches(ctx.services.machine.registry, record, frame.recordText)) {
    LogQuietly(ctx, "Installation record changed since its last save, nothing removed: " + record);
    ctx.errorJump(kRecordChangedAtUninstall + record);
    ctx.end = RunEnd::Stopped;
    return;
  }
  // A run killed before this one: its block is undone first, or its kind named.
  switch (RecoverUnfinishedRun(ctx, frame.texts, record)) {
    case Recovery::UndoIncomplete:
      ctx.errorJump(kRollbackIncomplete);
      ctx.end = RunEnd::Stopped;
      return;
    case Recovery::Undone:
    case Recovery::Reported:
      frame.recordText.clear();
      ctx.services.machine.files.ReadFile(record, frame.recordText);
      break;
    case Recovery::None:
      break;
  }
  switch (ChosenUninstallKind(ctx)) {
    case UninstallKindChoice::Rollback:
      RunRollback(ctx, frame);
      break;
    case UninstallKindChoice::Repair:
      RunRepair(ctx, frame);
      break;
    case UninstallKindChoice::FullUninstall:
      RunFullUninstall(ctx, frame);
      break;
  }
}

}  // namespace ostravel::engine
