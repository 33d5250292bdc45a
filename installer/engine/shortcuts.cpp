#include "installer/engine/shortcuts.h"

#include "base/cp1250.h"
#include "base/installer_error.h"
#include "base/text.h"
#include "installer/engine/target_paths.h"
#include "installer/script/script_lists.h"

namespace ostravel::engine {
namespace {

std::string NormalizedExclusions(const std::string& text) {
  if (text.empty()) return ";";
  std::string e = text;
  if (e.front() != ';') e.insert(0, ";");
  if (e.back() != ';') e += ';';
  return e;
}

ShortcutEntry EntryFromKeys(const IconKeys& keys, const PathVariables& vars) {
  ShortcutEntry s;
  s.placement = keys.placement;
  s.file = vars.ExpandVariables(keys.file);
  s.parameters = keys.parameters;
  s.workFolder = vars.ExpandVariables(keys.workFolder);
  s.title = keys.title;
  s.iconFile = vars.ExpandVariables(keys.iconFile);
  s.iconIndex = keys.iconIndex;
  s.exclusions = NormalizedExclusions(keys.exclusions);
  s.mainIcon = keys.mainIcon;
  return s;
}

ShortcutEntry UninstallEntry(const PathVariables& vars, const UninstallShortcut& u) {
  ShortcutEntry s;
  s.placement = "$UserPrograms$";
  s.file = WithTrailing(vars.ExpandVariables("$CommonFilesFolder$"), '\\') + kSharedUninstaller;
  s.iconFile = s.file;
  s.parameters = "/u /l\"" + vars.ExpandVariables(u.installRecordPath) + "\"";
  std::string title = u.titlePattern;
  const size_t at = title.find("%s");
  if (at != std::string::npos) title.replace(at, 2, vars.ExpandVariables("$ApplicationName$"));
  s.title = title;
  s.iconIndex = 1;
  s.exclusions = ";";
  return s;
}

std::string Truncated(std::string text, size_t limit) {
  if (text.size() > limit) text.resize(limit);
  return text;
}

}  // namespace

std::vector<ShortcutEntry> ReadIconList(const TExtIniFile& script, const std::vector<model::InstallModuleEntry>& modules,
                                        const PathVariables& vars, const UninstallShortcut& uninstall) {
  std::vector<ShortcutEntry> list;
  for (const auto& module : modules) {
    if (!module.included) continue;
    for (const IconKeys& keys : ReadIconList(script, module.name)) list.push_back(EntryFromKeys(keys, vars));
  }
  if (uninstall.add) list.push_back(UninstallEntry(vars, uninstall));
  return list;
}

namespace {

// A group is one or more folder names below the programs folder, never a way out of it.
bool UsableGroup(const std::string& group) {
  const std::string g = Trim(group);
  if (g.empty() || g.front() == '\\' || g.find(':') != std::string::npos) return false;
  std::string rest = g;
  while (!rest.empty())
    if (Trim(NextToken(rest, '\\')) == "..") return false;
  return IsUsableTargetPath("C:\\x\\" + g);
}

}  // namespace

int ApplyIconGroup(std::vector<ShortcutEntry>& icons, const PathVariables& vars, const std::string& offered,
                   const std::string& chosen) {
  if (Trim(offered).empty() || chosen == offered || !UsableGroup(chosen)) return 0;
  int moved = 0;
  for (ShortcutEntry& s : icons) {
    const std::string placement = NormalizeTargetPath(WithoutTrailing(vars.ExpandVariables(s.placement), '\\'));
    const std::string upper = UpperCase(placement);
    for (const char* programs : {"$UserPrograms$", "$AllUserPrograms$"}) {
      const std::string root = WithoutTrailing(vars.ExpandVariables(programs), '\\');
      if (root.empty()) continue;
      const std::string group = NormalizeTargetPath(root + "\\" + offered);
      const std::string key = UpperCase(group);
      if (upper != key && !StartsWith(upper, key + "\\")) continue;
      s.placement = root + "\\" + Trim(chosen) + placement.substr(key.size());
      ++moved;
      break;
    }
  }
  return moved;
}

std::string ShortcutPath(const PathVariables& vars, const std::string& placement, const std::string& title) {
  const std::string folder = NormalizeTargetPath(WithoutTrailing(vars.ExpandVariables(placement), '\\'));
  // A placement whose variable has no value would put the link beside whatever the
  // current folder is.
  if (!IsUsableTargetPath(folder + "\\x")) return "";
  const std::string path = NormalizeTargetPath(folder + "\\" + title + ".lnk");
  // A title that would leave the placement, or a path Windows cannot take, makes no link.
  if (FolderOf(path) != folder || !IsUsableTargetPath(path)) return "";
  return path;
}

std::string CreateShortcut(platform::Platform& machine, const PathVariables& vars, const std::string& placement,
                           const std::string& title, const std::string& file, int iconIndex,
                           const std::string& iconFile, const std::string& workFolder, const std::string& parameters) {
  platform::ShellLink link;
  link.target = file;
  link.workFolder = vars.ExpandVariables(workFolder);
  link.description = vars.ExpandVariables(title);
  link.arguments = parameters;
  link.iconPath = vars.ExpandVariables(iconFile);
  link.iconIndex = iconIndex;
  const std::string path = ShortcutPath(vars, placement, title);
  if (path.empty()) return "";
  const std::string folder = FolderOf(path);
  if (!machine.files.DirectoryExists(folder) && !machine.files.CreateDirectories(folder))
    throw InstallerError(machine.files.LastErrorText() + " (" + folder + ")");
  machine.shell.SaveLink(link, path);
  if (machine.files.FileExists(path)) return path;
  const std::string pif = path.substr(0, path.size() - 4) + ".pif";
  return machine.files.FileExists(pif) ? pif : "";
}

ShortcutDescription ReadShortcut(platform::Platform& machine, const std::string& shortcutPath) {
  ShortcutDescription d;
  if (!machine.files.FileExists(shortcutPath)) return d;
  d.exists = true;
  if (auto link = machine.shell.LoadLink(shortcutPath)) {
    d.description = Truncated(link->description, 100);
    d.target = Truncated(link->target, 500);
    d.arguments = Truncated(link->arguments, 500);
    d.workFolder = Truncated(link->workFolder, 500);
    d.iconPath = Truncated(link->iconPath, 500);
    d.iconIndex = link->iconIndex;
  }
  return d;
}

std::vector<std::string> ListProgramGroups(platform::FileSystem& files, const PathVariables& vars, ProgramGroups which) {
  std::vector<std::string> groups;
  auto add = [&](const char* variable) {
    const std::string folder = vars.ExpandVariables(variable);
    if (folder.empty()) return;
    for (const std::string& name : files.List(folder))
      if (name != "." && name != ".." && files.DirectoryExists(folder + "\\" + name)) groups.push_back(name);
  };
  if (which != ProgramGroups::CurrentUser) add("$AllUserPrograms$");
  if (which != ProgramGroups::AllUsers) add("$UserPrograms$");
  return groups;
}

}  // namespace ostravel::engine
