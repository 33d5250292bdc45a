#pragma once
// Backups for Rollback, only when the setup script asks for them ([Configuration]
// KeepBackups): before anything is replaced, the installation copies aside every
// file, shortcut and string value it is about to replace, into a folder of its own
// beside the installation record, and lists each in its record block. Rollback
// puts them back; Full Uninstall and Rollback remove them.
#include <string>
#include <vector>

#include "installer/engine/file_list.h"
#include "installer/engine/record_blocks.h"
#include "installer/engine/registry_entries.h"
#include "installer/engine/run_context.h"
#include "installer/engine/shortcuts.h"

namespace ostravel::engine {

// The fixed part of the message when a backup cannot be made.
extern const char* const kBackupFailed;

// What the run may replace.
struct BackupCandidates {
  const FileList& files;
  const std::vector<ShortcutEntry>& icons;
  const std::vector<RegistryRecord>& registry;
};

// The script asks for backups (its [Configuration] KeepBackups, as the run read
// it) and there is a record to list them in.
bool BackupsWanted(RunContext& context, bool keepBackups);

// Makes the backups, each once per installation (a second run of the same
// installation keeps the first copy: it holds what was there before). Shows the
// CreateBackup text while it works. When a copy cannot be made (the disk is full)
// the copies made so far are removed again and InstallerError is raised naming
// the file: nothing has been replaced yet.
void KeepBackups(RunContext& context, const BackupCandidates& candidates, const std::string& createBackupText,
                 bool keepBackups);

// Deletes the listed backup copies and the backup folders they leave empty; shows
// the RemoveBackup text when there is any.
void RemoveBackups(RunContext& context, const BlockBackups& backups, const std::string& recordPath,
                   const std::string& removeBackupText);

}  // namespace ostravel::engine
