#pragma once
// The setup script's single-valued sections, each read with its defaults. Callers
// open a fresh reader per operation (WithScript) and never keep the script open.
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "base/win32/shared_names.h"
#include "installer/script/ext_ini_file.h"

namespace ostravel {

// Opens the script with a fresh reader, hands it to `fn`, commits the write-back
// (a failure raises InstallerError) and releases the reader on every path. Nested
// calls on the same script each commit their own changes only.
template <typename Fn>
auto WithScript(platform::FileSystem& fs, const std::string& scriptPath, Fn&& fn) {
  TExtIniFile ini(fs, scriptPath, true);
  if constexpr (std::is_void_v<decltype(fn(ini))>) {
    fn(ini);
    ini.UpdateFile();
  } else {
    auto result = fn(ini);
    ini.UpdateFile();
    return result;
  }
}

struct StartUpSection {
  std::string copyEnabled, copyTarget, spaceCheckEnabled;
  int32_t spaceMinMB = 0;
  std::string spaceError, title, text, smoothProgress;
};
StartUpSection ReadStartUpSection(const TExtIniFile& ini);

struct ConfigurationSection {
  std::string topBanner = "Ostravel";
  std::string application, version, organization;
  int32_t language = 0;
  std::string internetUpdateSite;
  std::string path;  // expanded where used
  std::string registryDefaultPath;
  bool driveToWinDrive = true;
  bool allowAdminFreedom = false;
  bool unInstall = true;
  std::string unInstallLogFile;
  std::string unInstallIconTitle = "Uninstall %s";
  std::string installLogFile;
  double buildDate = 0;
  int32_t background = -1;  // the program body's default; the background window reads 0
  int32_t gradStart = 0, gradEnd = 0, oneColor = 0;
  int32_t bannerAlignment = 0, copyrightAlignment = 0;
  std::string bannerFont, copyrightFont, copyrightText;
  std::string rqInstallerVersion = "0.0.0.0";
  // Copies of what an installation replaces, for Rollback; off unless asked for.
  bool keepBackups = false;
  // A failed or cancelled run undoes what it changed before the error page; off
  // unless asked for.
  bool rollbackOnFailure = false;
  // Base64 of the P-256 point that signs the update site; empty: unsigned updates.
  std::string updateSigningKey;
};
ConfigurationSection ReadConfigurationSection(const TExtIniFile& ini);

struct ButtonsSection {
  std::string backButton = "Back", nextButton = "Next", closeButton = "Close", cancelButton = "Cancel",
              finishButton = "Finish", browseButton = "Change";
};
ButtonsSection ReadButtonsSection(const TExtIniFile& ini);

extern const char* const kDefaultNoPackagesFound;
extern const char* const kDefaultMD5ChecksumFailed;
extern const char* const kDefaultUpdateSignatureFailed;
extern const char* const kDefaultNotEnoughSpace;
extern const char* const kDefaultCantCreateFolder;
extern const char* const kDefaultConfirmExit;
extern const char* const kDefaultFolderNotExists;
// The error page's line after a run that undid itself ([Error Finish Page] RolledBackInfo).
extern const char* const kDefaultRolledBackInfo;

struct ErrorMessagesSection {
  std::string noPackagesFound = kDefaultNoPackagesFound;
  std::string downloadGeneral;
  std::string md5ChecksumFailed = kDefaultMD5ChecksumFailed;
  // A signed update site whose script does not verify.
  std::string updateSignatureFailed = kDefaultUpdateSignatureFailed;
  std::string notEnoughSpace = kDefaultNotEnoughSpace;
  std::string cantCreateFolder = kDefaultCantCreateFolder;
};
ErrorMessagesSection ReadErrorMessagesSection(const TExtIniFile& ini);

struct DlgMessagesSection {
  std::string confirmExit = kDefaultConfirmExit;
  std::string folderNotExists = kDefaultFolderNotExists;
};
DlgMessagesSection ReadDlgMessagesSection(const TExtIniFile& ini);

struct SetupOptionsSection {
  bool storedDrive = false, storedFolder = false, storedLastFolder = false;
};
SetupOptionsSection ReadSetupOptionsSection(const TExtIniFile& ini);

// Defaults are the destination dialog's built-in captions, passed by the caller.
struct DestinationDialogSection {
  std::string title, selectedFolder, folders, drives, availableSpace, requiredSpace, okButton, cancelButton;
};
DestinationDialogSection ReadDestinationDialogSection(const TExtIniFile& ini, const DestinationDialogSection& defaults);

// Section names of the pages.
namespace section {
inline constexpr const char* kStartUp = names::kStartUpSection;
inline constexpr const char* kConfiguration = "Configuration";
inline constexpr const char* kVariables = "Variables";
inline constexpr const char* kButtons = "Buttons";
inline constexpr const char* kErrorMessages = "ErrorMessages";
inline constexpr const char* kDlgMessages = "DlgMessages";
inline constexpr const char* kSetupOptions = "Setup Options";
inline constexpr const char* kDestinationDialog = "Destination Dialog";
inline constexpr const char* kWelcomePage = "Welcome Page";
inline constexpr const char* kUnWelcome = "unWelcome";
inline constexpr const char* kLicensePage = "License Page";
inline constexpr const char* kSetupNotesPage = "Setup Notes Page";
inline constexpr const char* kInstallTypePage = "Install Type Page";
inline constexpr const char* kUnInstallTypePage = "unInstall Type Page";
inline constexpr const char* kDestinationPage = "Destination Page";
inline constexpr const char* kComponentsPage = "Components Page";
inline constexpr const char* kIconFolderPage = "Icon Folder Page";
inline constexpr const char* kSetupSummaryPage = "Setup Summary Page";
inline constexpr const char* kSummary = "Summary";
inline constexpr const char* kCopyFilesPage = "Copy Files Page";
inline constexpr const char* kReadMeNotesPage = "ReadMe Notes Page";
inline constexpr const char* kFinishPage = "Finish Page";
inline constexpr const char* kErrorFinishPage = "Error Finish Page";
}  // namespace section

// Common keys of every page section (Title and Description are expanded by the caller).
struct PageHeader {
  bool visible = false;
  std::string title, description;
};
PageHeader ReadPageHeader(const TExtIniFile& ini, const std::string& pageSection);

struct InstallTypePageSection {
  std::string info, compact, compactInfo, full, fullInfo, typical, typicalInfo, custom, customInfo, webUpdate,
      webUpdateInfo;
  bool customEnabled = false, webUpdateEnabled = false;
  int32_t defaultSelected = 2;
};
InstallTypePageSection ReadInstallTypePageSection(const TExtIniFile& ini);

struct UnInstallTypePageSection {
  std::string info, unInstall = "Full Uninstall", unInstallInfo, repair = "Repair last install", repairInfo,
                    rollback = "Rollback last install", rollbackInfo;
  bool repairEnabled = false, rollbackEnabled = false;
  int32_t defaultSelected = 0;
};
UnInstallTypePageSection ReadUnInstallTypePageSection(const TExtIniFile& ini);

struct DestinationPageSection {
  std::string info, listInfo, drive, capacity, available, required;
};
DestinationPageSection ReadDestinationPageSection(const TExtIniFile& ini);

struct ComponentsPageSection {
  std::string downloadSize, info;
};
ComponentsPageSection ReadComponentsPageSection(const TExtIniFile& ini);

struct IconFolderPageSection {
  bool canChange = true, canSelectExist = true, canDisableCreate = true;
  std::string info, defaultIconFolder, disableText;
};
IconFolderPageSection ReadIconFolderPageSection(const TExtIniFile& ini);

struct SetupSummaryPageSection {
  std::string info, next;
};
SetupSummaryPageSection ReadSetupSummaryPageSection(const TExtIniFile& ini);

struct SummarySection {
  std::string applicationInstall, selectedFolder, installType, components, iconsFolder;
};
SummarySection ReadSummarySection(const TExtIniFile& ini);

struct CopyFilesPageSection {
  std::string info;
  bool smooth = false;
  std::string createFilelist, copyFiles, registerComponents, updateSystem, downloadFiles, createBackup, removeBackup;
  std::string wuStatGroupHeader, wuStatCurrentPackage, wuStatPackageSize, wuStatDownloaded, wuStatAvgSpeed;
};
CopyFilesPageSection ReadCopyFilesPageSection(const TExtIniFile& ini);

struct FinishPageSection {
  std::string info, noNewWebUpdate;
};
FinishPageSection ReadFinishPageSection(const TExtIniFile& ini);

// [Variables]: every line, unchanged.
std::vector<std::string> ReadVariablesSection(const TExtIniFile& ini);

}  // namespace ostravel
