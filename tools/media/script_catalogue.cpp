#include "tools/media/script_catalogue.h"

#include <utility>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/script/script_lists.h"

namespace ostravel::media {
namespace {

using Keys = std::vector<std::string>;

// Title and Description belong to every page section.
SectionSpec Page(const char* name, Keys keys, bool visible = true) {
  Keys all = {"Title", "Description"};
  if (visible) all.push_back("Visible");
  all.insert(all.end(), keys.begin(), keys.end());
  return {name, all, std::nullopt, false, false};
}

SectionSpec WelcomeLike(const char* name) {
  SectionSpec s = Page(name, {"Count"});
  s.list = ListForm{{"Line"}, {""}, 0};
  return s;
}

SectionSpec Fixed(const char* name, Keys keys) { return {name, keys, std::nullopt, false, false}; }

// A numbered list as the installer's reader spells it.
template <typename Entry>
SectionSpec List(const ListTable<Entry>& table) {
  ListForm form{{table.prefix}, {}, table.first};
  for (const auto& key : table.keys) form.suffixes.push_back(key.name);
  // Without a prefix ("Name12") the key names come before the number.
  if (!*table.prefix) std::swap(form.prefixes, form.suffixes);
  return {table.section, {"Count"}, form, table.perModule, false};
}

std::vector<SectionSpec> Build() {
  std::vector<SectionSpec> c;
  c.push_back(Fixed("StartUp",
               {"CopyEnabled", "CopyTarget", "SpaceCheckEnabled", "SpaceMinMB", "SpaceError", "Title", "Text",
                "SmoothProgress"}));
  c.push_back(Fixed("Configuration",
               {"TopBanner", "Application", "Version", "Organization", "Language", "InternetUpdateSite", "Path",
                "RegistryDefaultPath", "DriveToWinDrive", "AllowAdminFreedom", "UnInstall", "UnInstallLogFile",
                "UnInstallIconTitle", "InstallLogFile", "BuildDate", "Background", "Grad Start", "Grad End",
                "One Color", "Banner Alignment", "Copyright Alignment", "BannerFont", "CopyrightFont",
                "CopyrightText", "RqInstallerVersion", "KeepBackups", "UpdateSigningKey", "RollbackOnFailure"}));
  c.push_back({"Variables", {}, std::nullopt, false, true});
  c.push_back(Fixed("Buttons",
               {"BackButton", "NextButton", "CloseButton", "CancelButton", "FinishButton", "BrowseButton"}));
  c.push_back(Fixed("ErrorMessages",
               {"NoPackagesFound", "DownloadGeneral", "MD5ChecksumFailed", "NotEnoughSpace", "CantCreateFolder",
                "UpdateSignatureFailed"}));
  c.push_back(Fixed("DlgMessages", {"ConfirmExit", "FolderNotExists"}));
  c.push_back(Fixed("Setup Options", {"StoredDrive", "StoredFolder", "StoredLastFolder"}));
  c.push_back(Fixed("Destination Dialog",
               {"Title", "SelectedFolder", "Folders", "Drives", "AvailableSpace", "RequiredSpace", "OKButton",
                "CancelButton"}));
  c.push_back(WelcomeLike("Welcome Page"));
  c.push_back(WelcomeLike("unWelcome"));
  c.push_back(Page("License Page", {}));
  c.push_back(Page("Setup Notes Page", {}));
  c.push_back(Page("Install Type Page",
                   {"Info", "Compact", "CompactInfo", "Full", "FullInfo", "Typical", "TypicalInfo", "Custom",
                    "CustomInfo", "WebUpdate", "WebUpdateInfo", "CustomEnabled", "WebUpdateEnabled",
                    "DefaultSelected"}));
  c.push_back(Page("unInstall Type Page",
                   {"Info", "unInstall", "unInstallInfo", "Repair", "RepairInfo", "Rollback", "RollbackInfo",
                    "RepairEnabled", "RollbackEnabled", "DefaultSelected"},
                   false));
  c.push_back(Page("Destination Page", {"Info", "ListInfo", "Drive", "Capacity", "Available", "Required"}));
  c.push_back(Page("Components Page", {"DownloadSize", "Info"}, false));
  c.push_back(Page("Icon Folder Page",
                   {"CanChange", "CanSelectExist", "CanDisableCreate", "Info", "DefaultIconFolder", "DisableText"}));
  c.push_back(Page("Setup Summary Page", {"Info", "Next"}));
  c.push_back(Fixed("Summary", {"ApplicationInstall", "SelectedFolder", "InstallType", "Components", "IconsFolder"}));
  c.push_back(Page("Copy Files Page",
                   {"Info", "Smooth", "CreateFilelist", "CopyFiles", "RegisterComponents", "UpdateSystem",
                    "DownloadFiles", "CreateBackup", "RemoveBackup", "WUStat.GroupHeader", "WUStat.CurrentPackage",
                    "WUStat.PackageSize", "WUStat.Downloaded", "WUStat.AvgSpeed"}));
  c.push_back(Page("ReadMe Notes Page", {}));
  c.push_back(Page("Finish Page", {"Info", "NoNewWebUpdate"}));
  c.push_back(Page("Error Finish Page", {"Info", "RolledBackInfo"}, false));
  c.push_back(List(InstallModuleList()));
  c.push_back(List(ComponentList()));
  c.push_back(List(FileList()));
  c.push_back(List(IconList()));
  c.push_back(List(RegistryList()));
  c.push_back(List(FolderList()));
  c.push_back(List(FontList()));
  return c;
}

}  // namespace

const std::vector<SectionSpec>& ScriptCatalogue() {
  static const std::vector<SectionSpec> catalogue = Build();
  return catalogue;
}

const SectionSpec* FindSectionSpec(const std::string& section, std::string& module) {
  module.clear();
  for (const auto& spec : ScriptCatalogue())
    if (SameText(spec.name, section)) return &spec;
  for (const auto& spec : ScriptCatalogue()) {
    const std::string tail = "." + spec.name;
    if (!spec.perModule || section.size() <= tail.size() || !SameText(section.substr(section.size() - tail.size()), tail))
      continue;
    module = section.substr(0, section.size() - tail.size());
    return &spec;
  }
  return nullptr;
}

int ListEntryNumber(const ListForm& form, const std::string& key) {
  for (const auto& prefix : form.prefixes) {
    if (!StartsWithNoCase(key, prefix)) continue;
    size_t i = prefix.size(), digits = i;
    while (digits < key.size() && key[digits] >= '0' && key[digits] <= '9') ++digits;
    // Entry numbers are written without leading zeros; "File01" is another key.
    if (digits == i || digits - i > 9 || (key[i] == '0' && digits - i > 1)) continue;
    std::string rest = key.substr(digits);
    for (const auto& suffix : form.suffixes)
      if (SameText(rest, suffix)) return std::stoi(key.substr(i, digits - i));
  }
  return -1;
}

bool IsGeneratedList(const SectionSpec& spec) {
  return spec.name == ComponentList().section || spec.name == FileList().section;
}

}  // namespace ostravel::media
