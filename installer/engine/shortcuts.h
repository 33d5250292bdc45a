#pragma once
// Shortcuts: the icon list of the script, creating and reading shell links, and
// the program groups of the Start menu. The selection pages call ReadIconList,
// ReadShortcut and ListProgramGroups; the run's "CreateIcons" step the rest.
#include <string>
#include <vector>

#include "installer/model/install_record_entries.h"
#include "installer/model/selection.h"
#include "installer/platform/platform.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/path_variables.h"

namespace ostravel::engine {

struct ShortcutEntry {
  std::string placement;   // unexpanded, e.g. "$UserPrograms$"
  std::string file;        // expanded: the program started
  std::string parameters;  // unexpanded
  std::string workFolder;  // expanded
  std::string title;       // unexpanded: the link's file name; expanded, its description
  std::string iconFile;    // expanded
  int iconIndex = 0;
  std::string exclusions;  // ";"-separated, begins and ends with ";"
  bool mainIcon = false;
};

// The shared uninstaller the uninstall shortcut and entry start.
inline constexpr const char* kSharedUninstaller = "Quillmarch Shared\\setup.exe";

// What the icon list adds after the script's shortcuts.
struct UninstallShortcut {
  bool add = false;  // UninstallEnabled and not UninstallMode
  std::string installRecordPath;   // unexpanded
  std::string titlePattern = "Uninstall %s";  // "%s" receives $ApplicationName$
};

// The shortcuts of every included module, in module order, then the uninstall one.
std::vector<ShortcutEntry> ReadIconList(const TExtIniFile& script, const std::vector<model::InstallModuleEntry>& modules,
                                        const PathVariables& variables, const UninstallShortcut& uninstall);

// The Start-menu group chosen on the icons page in place of the one it offered:
// placements that are that group, or lie below it, in the user's or all users'
// programs folder move to the chosen group. Nothing changes when the choice is
// the offer, nothing was offered, or the choice names no usable folder. Gives the
// number of shortcuts moved.
int ApplyIconGroup(std::vector<ShortcutEntry>& icons, const PathVariables& variables, const std::string& offered,
                   const std::string& chosen);

// The ".lnk" file CreateShortcut saves for a placement and title; "" when it would
// make none.
std::string ShortcutPath(const PathVariables& variables, const std::string& placement, const std::string& title);

// Makes one link in the expanded placement (created when missing; a folder that
// cannot be made raises InstallerError naming it). Gives the path of the file that
// was saved (".lnk", or ".pif" when the shell chose that), or "" when none was.
std::string CreateShortcut(platform::Platform& machine, const PathVariables& variables, const std::string& placement,
                           const std::string& title, const std::string& file, int iconIndex,
                           const std::string& iconFile, const std::string& workFolder, const std::string& parameters);

struct ShortcutDescription {
  bool exists = false;
  std::string description;  // at most 100 characters
  std::string target, arguments, workFolder, iconPath;  // each at most 500
  int iconIndex = 0;
};
ShortcutDescription ReadShortcut(platform::Platform& machine, const std::string& shortcutPath);

enum class ProgramGroups { Both = 0, AllUsers = 1, CurrentUser = 2 };
// Sub-folder names of "$AllUserPrograms$" and / or "$UserPrograms$", all users first.
std::vector<std::string> ListProgramGroups(platform::FileSystem& files, const PathVariables& variables,
                                           ProgramGroups which);

}  // namespace ostravel::engine
