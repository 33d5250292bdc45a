#pragma once
// Where the launcher copies the medium: the configured copy target, or a fresh
// numbered folder in the temporary folder when there is none or it cannot be made.
#include <functional>
#include <string>
#include <string_view>

namespace ostravel::startup {

struct FolderOps {
  std::function<bool(const std::string&)> exists;       // a folder of that path exists
  std::function<bool(const std::string&)> createOne;    // creates one folder level
};

// temp + "Ostravel" + n for the smallest n whose folder does not exist yet.
std::string FindFreshFolder(std::string_view tempFolder, const std::function<bool(const std::string&)>& exists);

// `CopyTarget` with its first "$WinDrive$" replaced by the Windows drive letter.
std::string ExpandWinDrive(std::string_view copyTarget, std::string_view windowsFolder);

// Creates the folder and its missing parents; paths of two characters or fewer
// ("C:", "") count as existing.
bool ForceFolders(std::string_view path, const FolderOps& ops);

struct WorkFolderInput {
  std::string copyEnabled;  // [StartUp] CopyEnabled
  std::string copyTarget;   // [StartUp] CopyTarget
  std::string windowsFolder;
  std::string freshFolder;
};

// The working folder, created, with a trailing "\".
std::string ChooseWorkFolder(const WorkFolderInput& in, const FolderOps& ops);

}  // namespace ostravel::startup
