#pragma once
// The removal of everything the installation record lists, in fixed phases: files,
// shortcuts, registry values, registry keys, the record itself, then folders from
// the innermost out. Every removal is best effort.
#include <string>
#include <vector>

#include "installer/engine/install_record.h"
#include "installer/engine/run_context.h"

namespace ostravel::engine {

void Uninstall(RunContext& context, const std::vector<UninstallAction>& actions);

// The single removals of the phases, for the kinds that undo only part of a record.
void RemoveRecordedFile(RunContext& context, const std::string& path);  // files and shortcuts
void RemoveRecordedValue(RunContext& context, std::string value);       // root;subkey;name
void RemoveRecordedKey(RunContext& context, std::string value);         // root;subkey
// The existing folders among the actions, innermost first; folders that are not empty stay.
void RemoveRecordedFolders(RunContext& context, const std::vector<UninstallAction>& actions);

}  // namespace ostravel::engine
