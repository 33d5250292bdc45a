#pragma once
// A run that was killed (a power cut, the task manager) leaves its block in the
// record with the mark it carries while it works. The next start of the installer
// or the uninstaller finds it: with [Configuration] RollbackOnFailure the block is
// undone from its backups and from the list of what the run was about to create;
// without it the user is told which kind repairs the installation.
#include <string>
#include <vector>

#include "installer/engine/run_context.h"
#include "installer/model/install_record_entries.h"
#include "installer/script/setup_script.h"

namespace ostravel::engine {

// The run-state lines a working run puts after its block's title. The documented
// reader passes over them; a finished run saves its block without them.
std::vector<std::string> UnfinishedMark(bool undo);
// What the run may create and has not recorded yet ("Pending Copy File: ...").
std::string PendingLine(model::RecordAction kind, const std::string& value);
bool IsRunStateLine(const std::string& line);

// The record text with the newest block's pending lines made into the actions they
// stand for and its mark dropped: what an undo of that block works from.
std::string BlockForUndo(const std::string& recordText);

// Said when an unfinished installation is found without RollbackOnFailure; the
// kind that repairs it follows.
extern const char* const kUnfinishedRunFound;

enum class Recovery { None, Undone, UndoIncomplete, Reported };
// Looks at the newest block of the record and deals with a mark left there. A
// record whose digest does not match is left to the checks that refuse it.
Recovery RecoverUnfinishedRun(RunContext& context, const CopyFilesPageSection& texts, const std::string& recordPath);

}  // namespace ostravel::engine
