// Destination: the destination folder, the fixed and network drives with their
// sizes, the folder dialog, and the leave check that compares with an earlier
// installation, warns about network drives, creates the folder and settles the
// database server.
#include "base/cp1250.h"
#include "base/installer_error.h"
#include "base/text.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/component_list.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/destination_dialog.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/processing_panel.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

using platform::DriveType;

std::string Megabytes(uint64_t bytes) { return Format("%.2f MB", double(bytes) / 1048576.0); }

struct DriveRow {
  std::string caption;
  std::optional<platform::FileSystem::Space> space;
};

std::optional<DriveRow> DriveRowOf(platform::FileSystem& files, char letter) {
  const std::string root = std::string(1, letter) + ":\\";
  switch (files.GetDriveType(root)) {
    case DriveType::Fixed:
      return DriveRow{root.substr(0, 2) + " (" + files.VolumeLabel(root) + ")", files.GetDiskSpace(root)};
    case DriveType::Remote: {
      const auto remote = files.NetworkRemoteName(root.substr(0, 2));
      const std::string name = remote ? UpperCase(*remote) : files.VolumeLabel(root);
      // Without a known share the drive itself answers for its size.
      return DriveRow{root.substr(0, 2) + " (" + name + ")", files.GetDiskSpace(remote ? *remote : root)};
    }
    default:
      return std::nullopt;
  }
}

void FillDriveList(WizardController& wizard, int64_t required) {
  WizardView& view = wizard.View();
  HourglassScope hourglass(view);
  std::vector<std::vector<std::string>> rows;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const auto row = DriveRowOf(wizard.Services().machine.files, letter);
    if (!row) continue;
    const platform::FileSystem::Space space = row->space.value_or(platform::FileSystem::Space{});
    rows.push_back({row->caption, Megabytes(space.totalBytes), Megabytes(space.freeBytes),
                    Megabytes(uint64_t(std::max<int64_t>(required, 0)))});
  }
  view.SetRows(ctl::kLvDestinations, rows);
}

bool NotFixedForInstalling(DriveType type) {
  return type == DriveType::Unknown || type == DriveType::NoRootDir || type == DriveType::Removable ||
         type == DriveType::CdRom || type == DriveType::RamDisk;
}

// Unattended "/d<letter>": the destination moves to that drive.
void ApplySilentDrive(WizardController& wizard) {
  const char letter = wizard.Services().process.switches.driveLetter;
  const std::string destination = wizard.View().Text(ctl::kEDestination);
  if (letter == 0 || destination.empty()) return;
  const std::string moved = std::string(1, letter) + destination.substr(1);
  wizard.SetDestination(moved);
  if (NotFixedForInstalling(wizard.Services().machine.files.GetDriveType(moved.substr(0, 3))))
    wizard.StopUnattended("the destination " + moved + " is not on a fixed drive");
}

}  // namespace

int64_t RequiredBytes(const TExtIniFile& script) {
  const int count = std::max(0, script.ReadInteger("Files", "Count", 0));
  const int bounded = script.BoundedCount("Files", "File", count);
  int64_t sum = 0;
  for (int n = 1; n <= bounded; ++n) sum += script.ReadInteger("Files", "File" + std::to_string(n) + ".FileSize", 0);
  return sum;
}

PageEntryResult EnterDestination(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  WizardState& state = wizard.State();
  view.SetRows(ctl::kLvDestinations, {});
  state.rememberedDestination = view.Text(ctl::kEDestination);
  view.SetText(ctl::kChangeButton, ReadButtonsSection(script).browseButton);
  const SetupOptionsSection options = ReadSetupOptionsSection(script);
  if (options.storedDrive) {
    view.SetEnabled(ctl::kLvDestinations, false);
    view.SetColour(ctl::kLvDestinations, Colour::ButtonFace);
  }
  if (options.storedFolder && options.storedLastFolder) view.SetEnabled(ctl::kChangeButton, false);
  if (wizard.Services().process.AdminMode() && ReadConfigurationSection(script).allowAdminFreedom) {
    view.SetEnabled(ctl::kLvDestinations, true);
    view.SetColour(ctl::kLvDestinations, Colour::Window);
    view.SetReadOnly(ctl::kEDestination, false);
    view.SetColour(ctl::kEDestination, Colour::Window);
    view.SetEnabled(ctl::kChangeButton, true);
    state.adminFreedom = true;
  }
  const DestinationPageSection page = ReadDestinationPageSection(script);
  view.SetText(ctl::kDestinationInfoLabel, wizard.Expand(page.info));
  view.SetText(ctl::kDestinationListLabel, page.listInfo);
  view.SetColumns(ctl::kLvDestinations, {page.drive, page.capacity, page.available, page.required});
  FillDriveList(wizard, RequiredBytes(script));
  if (wizard.Silent()) {
    ApplySilentDrive(wizard);
    wizard.NextButtonClick();
  }
  return {section::kDestinationPage};
}

void lvDestinationsSelectItem(WizardController& wizard) {
  WizardView& view = wizard.View();
  const int row = view.SelectedIndex(ctl::kLvDestinations);
  const auto rows = view.Rows(ctl::kLvDestinations);
  if (row < 0 || size_t(row) >= rows.size() || rows[size_t(row)].empty() || rows[size_t(row)][0].empty()) return;
  const char letter = rows[size_t(row)][0][0];
  const std::string root = std::string(1, letter) + ":\\";
  platform::FileSystem& files = wizard.Services().machine.files;
  if (files.GetDriveType(root) == DriveType::Remote) {
    // A share that already is the product's folder is installed into directly.
    const auto remote = files.NetworkRemoteName(root.substr(0, 2));
    if (!remote || remote->find("belloro.win") != std::string::npos) return wizard.SetDestination(root);
  }
  std::string destination = wizard.State().configuredPath;
  if (destination.empty()) destination = root;
  destination[0] = letter;
  wizard.SetDestination(destination);
}

void eDestinationChange(WizardController& wizard) {
  const std::string text = UpperCase(wizard.View().Text(ctl::kEDestination));
  wizard.Services().variables.SetCurrentDestination(text);
  WizardState& state = wizard.State();
  // Another destination may hold other installed files: the components are read afresh.
  if (text != state.rememberedDestination) EmptyComponentList(wizard);
  state.rememberedDestination = text;
}

void ChangeButtonClick(WizardController& wizard) {
  const Services& services = wizard.Services();
  DestinationDialog dialog({services.machine.files, services.dialogs, services.variables, services.process.scriptPath,
                            services.process.dialogLanguage, wizard.State().adminFreedom});
  dialog.SetRequiredSize(WithScript(services.machine.files, services.process.scriptPath,
                                    [](const TExtIniFile& script) { return RequiredBytes(script); }));
  dialog.SetFolder(wizard.View().Text(ctl::kEDestination));
  const int result = wizard.View().ShowModalForm(FormId::DestinationChange, dialog);
  if (dialog.Failure()) throw InstallerError(*dialog.Failure());
  if (result == ui::mrOk) wizard.SetDestination(dialog.ChosenFolder());
}

}  // namespace ostravel::wizard
