#pragma once
// The three uninstall kinds of the uninstall-kind page, all in the run frame of
// uninstall mode: Full Uninstall removes everything the record lists; Rollback
// undoes only the newest installation, putting back what its backups hold; Repair
// extracts again the recorded files that are missing or damaged.
#include <string>

#include "installer/engine/run_context.h"
#include "installer/script/setup_script.h"

namespace ostravel::engine {

enum class UninstallKindChoice { FullUninstall, Repair, Rollback };

// The kind chosen on the page, by the positions the page gave Repair and Rollback.
UninstallKindChoice ChosenUninstallKind(const RunContext& context);

// What every kind starts from.
struct UninstallFrame {
  CopyFilesPageSection texts;
  std::string recordText;  // empty when the record is missing or unreadable
};

// Said when the record is there but cannot be read; its path follows. Nothing is
// removed then, the record included.
extern const char* const kRecordUnreadableAtUninstall;
extern const char* const kRecordChangedAtUninstall;

// Status lines of the kinds (Full Uninstall shows "Uninstalling ...").
extern const char* const kRollingBack;
extern const char* const kRepairing;

void RunFullUninstall(RunContext& context, const UninstallFrame& frame);
void RunRollback(RunContext& context, const UninstallFrame& frame);
void RunRepair(RunContext& context, const UninstallFrame& frame);

// After a failed installation run with [Configuration] RollbackOnFailure: undoes
// the newest block of the record (the run's own) from its backups, best effort,
// logging what it put back and what it could not; the record goes when that block
// was all it held. True when everything came back.
bool UndoFailedRun(RunContext& context, const UninstallFrame& frame, const std::string& recordPath);

// Another program holds the file open. A read-only file is tried without its flag
// and gets it back: nothing changes before a kind knows it can finish.
bool HeldOpen(platform::FileSystem& files, const std::string& path);

}  // namespace ostravel::engine
