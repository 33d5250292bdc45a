#include "installer/dbserver/config_file.h"

#include "base/text.h"

namespace ostravel::dbserver {

bool EditConfigurationKey(platform::FileSystem& files, const std::string& folder, const std::string& key,
                          const std::string& value) {
  const std::string path = WithTrailing(folder, '\\') + "firebird.conf";
  std::string data;
  if (!files.ReadFile(path, data)) return false;
  std::vector<std::string> lines = SplitLines(data);
  const std::string wanted = key + " = " + value;
  for (std::string& line : lines) {
    if (line.find(key + " = ") == std::string::npos) continue;
    if (line == wanted) return true;
    line = wanted;
    // Through a temporary file and a rename: a process that dies mid-write never
    // leaves the server a truncated configuration.
    return files.ReplaceFile(path, JoinLines(lines));
  }
  return true;
}

}  // namespace ostravel::dbserver
