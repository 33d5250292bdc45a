// Window creation, the closing actions of a finished wizard, and destruction.
#include "base/cp1250.h"
#include "base/text.h"
#include "base/win32/shared_names.h"
#include "installer/dbserver/admin_rights.h"
#include "installer/net/installer_version.h"
#include "installer/net/proxy_settings.h"
#include "installer/script/command_line.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/server_bridge.h"
#include "installer/wizard/visible_pages.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {
constexpr const char* kRunningAtomName = names::kRunningAtom;

const std::vector<std::string> kProgramYears = {"2020", "2019", "2018", "2017", "2016", "2015", "2014", "2013", "2012",
                                                "2011", "2010", "2009", "2008", "2007", "2006", "2005", "2004", "2003"};
}  // namespace

void WizardController::FormCreate() {
  Guarded([&] { CreateForm(); });
}

void WizardController::CreateForm() {
  platform::Platform& machine = services_.machine;
  ProcessState& process = services_.process;
  services_.log.WriteLog("DELETE");

  state_ = WizardState{};
  selection_ = {};
  server_ = {};
  web_ = {};
  record_.clear();
  finish_ = {};
  progress_.SetStep("");
  view_.SetText(ctl::kSlCustomize, "");
  server_.hasAdminRights = dbserver::HasAdminRights(machine.registry);

  state_.runningAtom = machine.system.FindAtom(kRunningAtomName);
  if (state_.runningAtom == 0) state_.runningAtom = machine.system.AddAtom(kRunningAtomName);

  view_.SetText(ctl::kBuildInfoLabel, BuildInfoText());
  view_.SetVisible(ctl::kInformationButton, machine.files.FileExists(process.sourceFolder + "belloro.doc"));

  if (process.UninstallMode()) StartUninstallMode();
  state_.installStartTime = machine.system.Now();

  view_.SetItems(ctl::kCxProgramYear, kProgramYears);
  view_.SetItems(ctl::kCxOpSystem, {"Windows", "Dos"});
  view_.SetSelectedIndex(ctl::kCxOpSystem, 0);
  ReadScriptAtCreation();
  // Before any page can stop a server again and take its stopped state for the one to keep.
  PutBackServersOfKilledRun(*this);
  ReadProxySettings();
  view_.SetText(ctl::kErrorFinishMemo, "");

  if (!process.SilentMode()) {
    const int first = FirstPageOf(state_.visiblePages);
    if (first < kPageCount) GoToPage(Page(first));
  }
  if (!process.UninstallMode() || machine.files.FileExists(process.installRecordPath)) {
    if (view_.SelectedIndex(ctl::kCxProgramYear) < 0 && !view_.Items(ctl::kCxProgramYear).empty()) {
      view_.SetSelectedIndex(ctl::kCxProgramYear, 0);
      cxProgramYearSelect();
    }
    const std::string guardian = Expand("$UserStartup$\\FireBird Guardian.lnk");
    if (machine.files.FileExists(guardian)) machine.files.DeleteFile(guardian);
  } else {
    ApplicationEventsException(kNoInstallRecord);
  }
}

// The build text under the pages: when this program was made, and its version.
std::string WizardController::BuildInfoText() {
  platform::Platform& machine = services_.machine;
  const std::string program = machine.system.ProgramPath();
  std::string text = "Frissítve: ";
  if (auto info = machine.files.Find(program)) {
    if (auto time = UnpackDosDateTime(info->dosTime))
      text += Format("%04d.%02d.%02d  %02d:%02d:%02d", time->year, time->month, time->day, time->hour, time->minute,
                     time->second);
  }
  const platform::VersionRecord version = machine.system.ReadVersion(program);
  if (version.valid)
    text += Format("  [%d.%d.%d.%d]", version.fileMajor, version.fileMinor, version.fileRelease, version.fileBuild);
  return text;
}

// The uninstaller finds its script through the installation record's title.
void WizardController::StartUninstallMode() {
  platform::Platform& machine = services_.machine;
  ProcessState& process = services_.process;
  process.installRecordPath = FindInstallRecordParameter(
      process.parameters, [&](const std::string& path) { return machine.files.FileExists(path); });

  std::string record;
  if (machine.files.FileExists(process.installRecordPath) &&
      machine.files.ReadFile(process.installRecordPath, record)) {
    for (const std::string& line : SplitLines(record)) {
      if (line.compare(0, 6, "Title:") != 0) continue;
      const std::string title = Trim(std::string_view(line).substr(6));
      if (title.empty()) continue;
      process.scriptPath = process.sourceFolder + title + "\\setup.inf";
      break;
    }
  }
  view_.UseUninstallIcon();
}

void WizardController::ReadScriptAtCreation() {
  ProcessState& process = services_.process;
  PathVariables& variables = services_.variables;
  WithScript(services_.machine.files, process.scriptPath, [&](TExtIniFile& script) {
    variables.SetUserVariables(ReadVariablesSection(script));
    const std::string copyTarget = Expand(ReadStartUpSection(script).copyTarget);
    state_.copyTargetFolder = copyTarget.empty() ? process.sourceFolder : copyTarget;

    const ConfigurationSection config = ReadConfigurationSection(script);
    view_.SetCaption(config.topBanner + " - Ostravel");
    variables.SetApplicationName(config.application + " v" + config.version);
    variables.SetCompanyName(config.organization);
    process.dialogLanguage = config.language;
    process.updateSiteUrl = config.internetUpdateSite;
    web_.updateSigningKey = Trim(config.updateSigningKey);
    SetDestination(Expand(config.path));
    state_.configuredPath = view_.Text(ctl::kEDestination);
    process.uninstallEnabled = config.unInstall;
    server_.stopped.keepOnDisk = config.rollbackOnFailure;
    if (!process.UninstallMode()) {
      process.installRecordPath = config.unInstallLogFile;
      state_.uninstallIconTitle = config.unInstallIconTitle;
    }
    if (!config.registryDefaultPath.empty()) ApplyRegistryDefaultPath(config.registryDefaultPath);
    if (config.driveToWinDrive) ApplyDriveToWinDrive();

    const ButtonsSection buttons = ReadButtonsSection(script);
    view_.SetText(ctl::kBackButton, buttons.backButton);
    view_.SetText(ctl::kNextButton, buttons.nextButton);
    view_.SetText(ctl::kCancelButton, buttons.closeButton);
    const ErrorMessagesSection errors = ReadErrorMessagesSection(script);
    web_.downloadGeneral = errors.downloadGeneral;
    web_.md5ChecksumFailed = errors.md5ChecksumFailed;
    web_.updateSignatureFailed = errors.updateSignatureFailed;

    state_.visiblePages = BuildVisiblePages(script, process.UninstallMode(), process.SilentMode());
    state_.firstPage = FirstPageOf(state_.visiblePages);
    state_.lastPage = LastPageOf(state_.visiblePages);
  });
}

// "ROOT\sub\key;value": a string there replaces the configured destination.
void WizardController::ApplyRegistryDefaultPath(const std::string& registryDefaultPath) {
  const size_t slash = registryDefaultPath.find('\\');
  const size_t semicolon = registryDefaultPath.rfind(';');
  if (slash == std::string::npos || semicolon == std::string::npos || semicolon < slash) return;
  auto root = platform::RootKeyFromName(registryDefaultPath.substr(0, slash));
  if (!root) return;
  std::string value;
  if (services_.machine.registry.ReadString(*root, registryDefaultPath.substr(slash + 1, semicolon - slash - 1),
                                            registryDefaultPath.substr(semicolon + 1), value) == platform::RegRead::Ok)
    SetDestination(value);
}

// A destination on a drive that will not be there later moves to the Windows drive.
void WizardController::ApplyDriveToWinDrive() {
  std::string destination = view_.Text(ctl::kEDestination);
  if (destination.empty()) return;
  using platform::DriveType;
  const DriveType type = services_.machine.files.GetDriveType(destination.substr(0, 3));
  if (type == DriveType::Unknown || type == DriveType::NoRootDir || type == DriveType::Removable ||
      type == DriveType::CdRom || type == DriveType::RamDisk) {
    const std::string windows = services_.machine.system.WindowsFolder();
    if (!windows.empty()) {
      destination[0] = windows[0];
      SetDestination(destination);
    }
  }
}

// The stored values go to the HTTP client; the proxy dialog writes them.
void WizardController::ReadProxySettings() {
  web_.proxy = net::ApplyStoredProxySettings(services_.machine.registry, services_.machine.http);
}

void WizardController::ClosingActions() {
  ProcessState& process = services_.process;
  platform::Platform& machine = services_.machine;
  if (view_.SelectedIndex(ctl::kCxOpSystem) == 0 && current_ == Page::Finished && !web_.noUpdateFound &&
      !process.UninstallMode() && finish_.startLocationChanged && !process.SilentMode()) {
    const std::string text = Expand("A(z) $ApplicationName$ indítási helye megváltozott!\r\n\nAz új indítási hely: " +
                                    view_.Text(ctl::kEDestination));
    services_.dialogs.ShowMessage(text, ui::MsgDlgType::Warning, ui::mbOK, ui::kHungarian);
  }
  // Only a run that reached its end starts the installed program or the new
  // installer: after a failure, a cancel or locked files the old ones would start.
  if (current_ != Page::Finished) return;
  if (!finish_.installerProgramPath.empty() && machine.files.FileExists(finish_.installerProgramPath))
    machine.system.Start("\"" + finish_.installerProgramPath + "\"");
  StartRestartCommand();
}

// A self-update hands over to the new installer. Unattended, it carries the run's
// switches, and a restart that cannot start is a failure: nobody else will.
void WizardController::StartRestartCommand() {
  ProcessState& process = services_.process;
  if (Trim(finish_.restartCommand).empty()) return;
  const std::string command = process.SilentMode()
                                  ? net::UnattendedRestartCommand(finish_.restartCommand, process.parameters)
                                  : Trim(finish_.restartCommand);
  services_.log.WriteLog("Restart: " + command);
  if (services_.machine.system.Start(command) || !process.SilentMode()) return;
  process.exitCode = 1;
  services_.log.WriteLog("Unattended run failed: the new installer could not be started");
}

void WizardController::FormDestroy() {
  // Whatever way the window goes, a server stopped on the way does not stay down.
  Guarded([&] { PutBackStoppedServer(*this); });
  Guarded([&] {
    if (state_.runningAtom != 0) services_.machine.system.DeleteAtom(state_.runningAtom);
    state_.runningAtom = 0;
  });
}

}  // namespace ostravel::wizard
