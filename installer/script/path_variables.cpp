#include "installer/script/path_variables.h"

#include <algorithm>

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel {

const char* const PathVariables::kBuiltInNames[kBuiltInCount] = {
    "$ParentCompSourceFolder$", "$DefaultDestination$", "$ParentCompTargetFolder$", "$ApplicationName$",
    "$WinDrive$",               "$AllUserDesktop$",     "$AllUserStartMenu$",       "$AllUserPrograms$",
    "$AllUserStartup$",         "$UserDesktop$",        "$UserStartMenu$",          "$UserPrograms$",
    "$UserStartup$",            "$ProgramFilesFolder$", "$SystemFolder$",           "$CommonFilesFolder$",
    "$CompanyName$",            "$InstallerStartPath$", "$EditorStartPath$",        "$TempFolder$",
    "$ProgramFilesFolder64$",
};

namespace {
const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
}  // namespace

PathVariables::PathVariables(platform::Registry& registry, std::string windowsFolder, std::string systemFolder,
                             std::string tempFolder, std::string sourceFolder)
    : registry_(registry), windowsFolder_(std::move(windowsFolder)), systemFolder_(std::move(systemFolder)),
      tempFolder_(std::move(tempFolder)), sourceFolder_(std::move(sourceFolder)) {}

int PathVariables::BuiltInIndex(const std::string& name) {
  for (int i = 0; i < kBuiltInCount; ++i)
    if (name == kBuiltInNames[i]) return i;
  return -1;
}

std::string PathVariables::ReadRegistryText(platform::RootKey root, const std::string& key,
                                            const std::string& value, const std::string& fallback) const {
  std::string text;
  switch (registry_.ReadString(root, key, value, text, platform::RegView::Wow32)) {
    case platform::RegRead::Ok:
      return text;
    case platform::RegRead::WrongType:
      return fallback;
    case platform::RegRead::Missing:
      break;
  }
  return "";
}

std::string PathVariables::BuiltInValue(int index) const {
  using platform::RootKey;
  auto shell = [&](RootKey root, const char* value) { return ReadRegistryText(root, kShellFolders, value, ""); };
  switch (index) {
    case 1:
    case 2:
      return destination_;
    case 3:
      return applicationName_;
    case 4:
      return windowsFolder_.empty() ? "" : windowsFolder_.substr(0, 1);
    case 5:
      return shell(RootKey::LocalMachine, "Common Desktop");
    case 6:
      return shell(RootKey::LocalMachine, "Common Start Menu");
    case 7:
      return shell(RootKey::LocalMachine, "Common Programs");
    case 8:
      return shell(RootKey::LocalMachine, "Common Startup");
    case 9:
      return shell(RootKey::CurrentUser, "Desktop");
    case 10:
      return shell(RootKey::CurrentUser, "Start Menu");
    case 11:
      return shell(RootKey::CurrentUser, "Programs");
    case 12:
      return shell(RootKey::CurrentUser, "Startup");
    case 13:
      return ReadRegistryText(RootKey::LocalMachine, kCurrentVersion, "ProgramFilesDir", "C:\\Program Files");
    case 14:
      return systemFolder_;
    case 15:
      return ReadRegistryText(RootKey::LocalMachine, kCurrentVersion, "CommonFilesDir",
                              "C:\\Program Files\\Common Files");
    case 16:
      return companyName_;
    case 18:
      return WithoutTrailing(sourceFolder_, '\\');
    case 19:
      return WithoutTrailing(tempFolder_, '\\');
    case 20:
      return ReadRegistryText(RootKey::LocalMachine, kCurrentVersion, "ProgramW6432Dir", "C:\\Program Files");
    default:  // $ParentCompSourceFolder$, $InstallerStartPath$: nothing assigns them
      return "";
  }
}

std::string PathVariables::UserVariable(const std::string& name) const {
  for (const auto& line : userVariables_) {
    size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), name))
      return line.substr(eq + 1);
  }
  return "";
}

std::string PathVariables::Value(const std::string& name) const {
  int index = BuiltInIndex(name);
  return index >= 0 ? BuiltInValue(index) : UserVariable(name);
}

std::string PathVariables::ExpandVariables(const std::string& text) const {
  std::string w = text;
  size_t p = w.find('$');
  int replacements = 0;
  while (p != std::string::npos) {
    if (++replacements > kMaxReplacements) {
      w.erase(std::remove(w.begin(), w.end(), '$'), w.end());
      return w;
    }
    std::string rest = w.substr(p + 1);
    std::string name = NextToken(rest, '$');
    std::string value = Value("$" + name + "$");
    w = w.substr(0, p) + value + rest;
    size_t old = p;
    p = w.find('$');
    if (p == old) {
      w.erase(p, 1);
      p = w.find('$');
    }
  }
  return w;
}

}  // namespace ostravel
