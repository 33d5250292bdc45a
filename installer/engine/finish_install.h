#pragma once
// What an installation leaves for its uninstaller: the final block of the
// installation record, and the shared uninstaller with the setup script copy in
// the common-files folder. Entering the finish page in install mode calls
// FinishInstallation; the run itself saves the block after each file step and
// places the shared copies before it makes the uninstall shortcut.
#include <string>

#include "installer/engine/install_record.h"
#include "installer/engine/run_context.h"

namespace ostravel::engine {

// The first lines of this installation's block.
RecordBlockHeader RecordHeaderFor(const ProcessState& process, const PathVariables& variables,
                                  const DateTime& installStartTime);

// Saves this installation's block at the expanded record path, when uninstalling
// is enabled. Best effort, like every save of the record.
bool SaveRecordBlock(RunContext& context);

// Said on the error page when the record cannot be read, or changed since its last
// save (its digest no longer matches); the record's path and
// the one this installation records itself in follow.
extern const char* const kRecordUnreadable;
extern const char* const kRecordChanged;
extern const char* const kRecordSetAside;

// Before the run records anything: a record that exists but cannot be read is kept
// as it is, and this installation records itself in a record of its own beside it
// ("<record>.1", or the next number that is free or readable), which its
// uninstall entry and shortcut then name. The log and the error page say so.
void SetAsideUnreadableRecord(RunContext& context);

// "Quillmarch Shared\<application name>\setup.inf" below the common-files folder.
std::string SharedScriptCopyPath(const PathVariables& variables);

// The running installer as "Quillmarch Shared\setup.exe" and its folder's
// "setup.inf" as "Quillmarch Shared\<application name>\setup.inf", both below the
// common-files folder, each replacing what is there. False when either copy failed.
bool PlaceSharedCopies(platform::FileSystem& files, const PathVariables& variables, const ProcessState& process);

// Entering the finish page in install mode: with uninstalling enabled, the final
// record block and fresh shared copies.
void FinishInstallation(RunContext& context);

}  // namespace ostravel::engine
