#pragma once
#include <string>

#include "installer/platform/files.h"

namespace ostravel::dbserver {

// Sets `key = value` in the folder's "firebird.conf": the first line holding the
// key followed by " = " (a commented-out default line too) becomes "key = value";
// no line is added when none matches. The file is replaced in one step, and left
// untouched when nothing changes. False when the file cannot be read or written.
bool EditConfigurationKey(platform::FileSystem& files, const std::string& folder, const std::string& key,
                          const std::string& value);

}  // namespace ostravel::dbserver
