#pragma once
// Folders an installation creates, level by level: creating a folder with all its
// missing parents makes each of them, and the uninstaller removes only what the
// record names, innermost first, when it is empty.
#include <string>
#include <vector>

#include "installer/model/install_record_entries.h"
#include "installer/platform/files.h"

namespace ostravel::engine {

// The levels of `folder` that do not exist yet, outermost first; never a drive or
// share root. A path that is no usable absolute path gives none.
std::vector<std::string> MissingFolderLevels(platform::FileSystem& files, const std::string& folder);

// A "Make Dir" entry for each of `levels` that exists now.
void RecordCreatedFolders(platform::FileSystem& files, const std::vector<std::string>& levels,
                          model::InstallRecordEntries& record);

}  // namespace ostravel::engine
