#include "installer/script/setup_script.h"

namespace ostravel {

const char* const kDefaultNoPackagesFound =
    "The Installer application unable to find packages required to install application!";
const char* const kDefaultMD5ChecksumFailed = "MD5 Checksum failed!";
const char* const kDefaultUpdateSignatureFailed =
    "A letöltött frissítés hitelessége nem ellenőrizhető: az aláírása hiányzik vagy nem érvényes. "
    "A frissítés nem települt.";
const char* const kDefaultNotEnoughSpace =
    "A kijelölt célmeghajtón nem elegendő a rendelkezésre álló szabad hely. Folytathatja a telepítést, de "
    "előfordulhat, hogy telepítés közben hibák lépnek fel.";
const char* const kDefaultCantCreateFolder =
    "Unable to create destination folder! Please make sure, that you have rights to create folders on selected "
    "drive!";
const char* const kDefaultConfirmExit = "Do you want to exit?";
const char* const kDefaultRolledBackInfo =
    "A telepítés félbeszakadt, ezért a Telepítő visszaállította a gépet a telepítés előtti állapotába.";
const char* const kDefaultFolderNotExists = "Destination folder doesn't exists. Do you want to create it now?";

namespace {
// Reads a key into a field that already holds its default.
struct Reader {
  const TExtIniFile& ini;
  const std::string& sec;
  void Text(const char* key, std::string& field) const { field = ini.ReadString(sec, key, field); }
  void Int(const char* key, int32_t& field) const { field = ini.ReadInteger(sec, key, field); }
  void Bool(const char* key, bool& field) const { field = ini.ReadBool(sec, key, field); }
};
}  // namespace

StartUpSection ReadStartUpSection(const TExtIniFile& ini) {
  StartUpSection s;
  const std::string sec = section::kStartUp;
  Reader r{ini, sec};
  r.Text("CopyEnabled", s.copyEnabled);
  r.Text("CopyTarget", s.copyTarget);
  r.Text("SpaceCheckEnabled", s.spaceCheckEnabled);
  r.Int("SpaceMinMB", s.spaceMinMB);
  r.Text("SpaceError", s.spaceError);
  r.Text("Title", s.title);
  r.Text("Text", s.text);
  r.Text("SmoothProgress", s.smoothProgress);
  return s;
}

ConfigurationSection ReadConfigurationSection(const TExtIniFile& ini) {
  ConfigurationSection c;
  const std::string sec = section::kConfiguration;
  Reader r{ini, sec};
  r.Text("TopBanner", c.topBanner);
  r.Text("Application", c.application);
  r.Text("Version", c.version);
  r.Text("Organization", c.organization);
  r.Int("Language", c.language);
  r.Text("InternetUpdateSite", c.internetUpdateSite);
  r.Text("Path", c.path);
  r.Text("RegistryDefaultPath", c.registryDefaultPath);
  r.Bool("DriveToWinDrive", c.driveToWinDrive);
  r.Bool("AllowAdminFreedom", c.allowAdminFreedom);
  r.Bool("UnInstall", c.unInstall);
  r.Text("UnInstallLogFile", c.unInstallLogFile);
  r.Text("UnInstallIconTitle", c.unInstallIconTitle);
  r.Text("InstallLogFile", c.installLogFile);
  c.buildDate = ini.ReadDateTime(sec, "BuildDate", 0);
  r.Int("Background", c.background);
  r.Int("Grad Start", c.gradStart);
  r.Int("Grad End", c.gradEnd);
  r.Int("One Color", c.oneColor);
  r.Int("Banner Alignment", c.bannerAlignment);
  r.Int("Copyright Alignment", c.copyrightAlignment);
  r.Text("BannerFont", c.bannerFont);
  r.Text("CopyrightFont", c.copyrightFont);
  r.Text("CopyrightText", c.copyrightText);
  r.Text("RqInstallerVersion", c.rqInstallerVersion);
  r.Bool("KeepBackups", c.keepBackups);
  r.Bool("RollbackOnFailure", c.rollbackOnFailure);
  r.Text("UpdateSigningKey", c.updateSigningKey);
  return c;
}

ButtonsSection ReadButtonsSection(const TExtIniFile& ini) {
  ButtonsSection b;
  const std::string sec = section::kButtons;
  Reader r{ini, sec};
  r.Text("BackButton", b.backButton);
  r.Text("NextButton", b.nextButton);
  r.Text("CloseButton", b.closeButton);
  r.Text("CancelButton", b.cancelButton);
  r.Text("FinishButton", b.finishButton);
  r.Text("BrowseButton", b.browseButton);
  return b;
}

ErrorMessagesSection ReadErrorMessagesSection(const TExtIniFile& ini) {
  ErrorMessagesSection e;
  const std::string sec = section::kErrorMessages;
  Reader r{ini, sec};
  r.Text("NoPackagesFound", e.noPackagesFound);
  r.Text("DownloadGeneral", e.downloadGeneral);
  r.Text("MD5ChecksumFailed", e.md5ChecksumFailed);
  r.Text("UpdateSignatureFailed", e.updateSignatureFailed);
  r.Text("NotEnoughSpace", e.notEnoughSpace);
  r.Text("CantCreateFolder", e.cantCreateFolder);
  return e;
}

DlgMessagesSection ReadDlgMessagesSection(const TExtIniFile& ini) {
  DlgMessagesSection d;
  const std::string sec = section::kDlgMessages;
  Reader r{ini, sec};
  r.Text("ConfirmExit", d.confirmExit);
  r.Text("FolderNotExists", d.folderNotExists);
  return d;
}

SetupOptionsSection ReadSetupOptionsSection(const TExtIniFile& ini) {
  SetupOptionsSection o;
  const std::string sec = section::kSetupOptions;
  Reader r{ini, sec};
  r.Bool("StoredDrive", o.storedDrive);
  r.Bool("StoredFolder", o.storedFolder);
  r.Bool("StoredLastFolder", o.storedLastFolder);
  return o;
}

DestinationDialogSection ReadDestinationDialogSection(const TExtIniFile& ini,
                                                      const DestinationDialogSection& defaults) {
  DestinationDialogSection d = defaults;
  const std::string sec = section::kDestinationDialog;
  Reader r{ini, sec};
  r.Text("Title", d.title);
  r.Text("SelectedFolder", d.selectedFolder);
  r.Text("Folders", d.folders);
  r.Text("Drives", d.drives);
  r.Text("AvailableSpace", d.availableSpace);
  r.Text("RequiredSpace", d.requiredSpace);
  r.Text("OKButton", d.okButton);
  r.Text("CancelButton", d.cancelButton);
  return d;
}

PageHeader ReadPageHeader(const TExtIniFile& ini, const std::string& pageSection) {
  PageHeader h;
  Reader r{ini, pageSection};
  r.Bool("Visible", h.visible);
  r.Text("Title", h.title);
  r.Text("Description", h.description);
  return h;
}

InstallTypePageSection ReadInstallTypePageSection(const TExtIniFile& ini) {
  InstallTypePageSection p;
  const std::string sec = section::kInstallTypePage;
  Reader r{ini, sec};
  r.Text("Info", p.info);
  r.Text("Compact", p.compact);
  r.Text("CompactInfo", p.compactInfo);
  r.Text("Full", p.full);
  r.Text("FullInfo", p.fullInfo);
  r.Text("Typical", p.typical);
  r.Text("TypicalInfo", p.typicalInfo);
  r.Text("Custom", p.custom);
  r.Text("CustomInfo", p.customInfo);
  r.Text("WebUpdate", p.webUpdate);
  r.Text("WebUpdateInfo", p.webUpdateInfo);
  r.Bool("CustomEnabled", p.customEnabled);
  r.Bool("WebUpdateEnabled", p.webUpdateEnabled);
  r.Int("DefaultSelected", p.defaultSelected);
  return p;
}

UnInstallTypePageSection ReadUnInstallTypePageSection(const TExtIniFile& ini) {
  UnInstallTypePageSection p;
  const std::string sec = section::kUnInstallTypePage;
  Reader r{ini, sec};
  r.Text("Info", p.info);
  r.Text("unInstall", p.unInstall);
  r.Text("unInstallInfo", p.unInstallInfo);
  r.Text("Repair", p.repair);
  r.Text("RepairInfo", p.repairInfo);
  r.Text("Rollback", p.rollback);
  r.Text("RollbackInfo", p.rollbackInfo);
  r.Bool("RepairEnabled", p.repairEnabled);
  r.Bool("RollbackEnabled", p.rollbackEnabled);
  r.Int("DefaultSelected", p.defaultSelected);
  return p;
}

DestinationPageSection ReadDestinationPageSection(const TExtIniFile& ini) {
  DestinationPageSection p;
  const std::string sec = section::kDestinationPage;
  Reader r{ini, sec};
  r.Text("Info", p.info);
  r.Text("ListInfo", p.listInfo);
  r.Text("Drive", p.drive);
  r.Text("Capacity", p.capacity);
  r.Text("Available", p.available);
  r.Text("Required", p.required);
  return p;
}

ComponentsPageSection ReadComponentsPageSection(const TExtIniFile& ini) {
  ComponentsPageSection p;
  const std::string sec = section::kComponentsPage;
  Reader r{ini, sec};
  r.Text("DownloadSize", p.downloadSize);
  r.Text("Info", p.info);
  return p;
}

IconFolderPageSection ReadIconFolderPageSection(const TExtIniFile& ini) {
  IconFolderPageSection p;
  const std::string sec = section::kIconFolderPage;
  Reader r{ini, sec};
  r.Bool("CanChange", p.canChange);
  r.Bool("CanSelectExist", p.canSelectExist);
  r.Bool("CanDisableCreate", p.canDisableCreate);
  r.Text("Info", p.info);
  r.Text("DefaultIconFolder", p.defaultIconFolder);
  r.Text("DisableText", p.disableText);
  return p;
}

SetupSummaryPageSection ReadSetupSummaryPageSection(const TExtIniFile& ini) {
  SetupSummaryPageSection p;
  const std::string sec = section::kSetupSummaryPage;
  Reader r{ini, sec};
  r.Text("Info", p.info);
  r.Text("Next", p.next);
  return p;
}

SummarySection ReadSummarySection(const TExtIniFile& ini) {
  SummarySection s;
  const std::string sec = section::kSummary;
  Reader r{ini, sec};
  r.Text("ApplicationInstall", s.applicationInstall);
  r.Text("SelectedFolder", s.selectedFolder);
  r.Text("InstallType", s.installType);
  r.Text("Components", s.components);
  r.Text("IconsFolder", s.iconsFolder);
  return s;
}

CopyFilesPageSection ReadCopyFilesPageSection(const TExtIniFile& ini) {
  CopyFilesPageSection p;
  const std::string sec = section::kCopyFilesPage;
  Reader r{ini, sec};
  r.Text("Info", p.info);
  r.Bool("Smooth", p.smooth);
  r.Text("CreateFilelist", p.createFilelist);
  r.Text("CopyFiles", p.copyFiles);
  r.Text("RegisterComponents", p.registerComponents);
  r.Text("UpdateSystem", p.updateSystem);
  r.Text("DownloadFiles", p.downloadFiles);
  r.Text("CreateBackup", p.createBackup);
  r.Text("RemoveBackup", p.removeBackup);
  r.Text("WUStat.GroupHeader", p.wuStatGroupHeader);
  r.Text("WUStat.CurrentPackage", p.wuStatCurrentPackage);
  r.Text("WUStat.PackageSize", p.wuStatPackageSize);
  r.Text("WUStat.Downloaded", p.wuStatDownloaded);
  r.Text("WUStat.AvgSpeed", p.wuStatAvgSpeed);
  return p;
}

FinishPageSection ReadFinishPageSection(const TExtIniFile& ini) {
  FinishPageSection p;
  const std::string sec = section::kFinishPage;
  Reader r{ini, sec};
  r.Text("Info", p.info);
  r.Text("NoNewWebUpdate", p.noNewWebUpdate);
  return p;
}

std::vector<std::string> ReadVariablesSection(const TExtIniFile& ini) {
  std::vector<std::string> lines;
  ini.ReadSectionValues(section::kVariables, lines);
  return lines;
}

}  // namespace ostravel
