#include "installer/engine/created_folders.h"

#include <algorithm>

#include "base/text.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {

std::vector<std::string> MissingFolderLevels(platform::FileSystem& files, const std::string& folder) {
  std::vector<std::string> levels;
  std::string level = WithoutTrailing(NormalizeTargetPath(folder), '\\');
  while (IsUsableTargetPath(level) && !files.DirectoryExists(level)) {
    levels.push_back(level);
    level = FolderOf(level);
  }
  std::reverse(levels.begin(), levels.end());
  return levels;
}

void RecordCreatedFolders(platform::FileSystem& files, const std::vector<std::string>& levels,
                          model::InstallRecordEntries& record) {
  for (const std::string& level : levels)
    if (files.DirectoryExists(level)) record.push_back({model::RecordAction::MakeDir, level});
}

}  // namespace ostravel::engine
