#pragma once
// The files of a replaced server folder that a person may still need, and the
// dated folder they are kept in.
#include <string>
#include <vector>

#include "base/datetime.h"
#include "installer/platform/files.h"

namespace ostravel::dbserver {

// Database and backup files (.fdb, .gdb, .fbk, .gbk, .ib; the security database
// among them) and the configuration files aliases.conf, databases.conf and
// firebird.conf, by file name, without regard to case.
bool KeptFromOldServer(const std::string& fileName);

// Where an old server folder goes: beside the folder that holds it (the server
// search's base folder), so no later detection takes it for an installation.
// "C:\PF\FireBird\Firebird_2_5\" becomes "C:\PF\FireBird-backup-20260307-140509",
// with "-2", "-3", ... when that exists already. No trailing "\".
std::string AsideFolderFor(platform::FileSystem& files, const std::string& folder, const DateTime& now);

// Deletes everything in the folder but the kept files (read-only ones too; links
// are removed, never followed), then the folders left empty, the folder itself
// included. Returns the paths of the files kept.
std::vector<std::string> KeepOnlyWhatMatters(platform::FileSystem& files, const std::string& folder);

}  // namespace ostravel::dbserver
