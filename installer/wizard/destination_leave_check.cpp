// Next on Destination: an earlier installation elsewhere, a network drive and a
// missing folder each ask first; then the database server is settled.
#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/created_folders.h"
#include "installer/engine/shortcuts.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/module_list.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/server_bridge.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

constexpr const char* kMovedQuestion1 = "A megadott célhely és a korábbi telepítés útvonala eltér egymástól!\r\n\r\n"
                                        "A korábbi telepítés útvonala: ";
constexpr const char* kMovedQuestion2 = "A megadott célhely: ";
constexpr const char* kMovedQuestion3 =
    "Ha a korábbi telepítéstől eltérő helyre telepíti a programot, akkor minden beállítást újra meg kell adnia és "
    "vissza kell töltenie az összes adatot.";
constexpr const char* kMovedQuestion4 = "Biztosan új helyre akarja telepíteni a programot?";
constexpr const char* kRedirectShortcut = "Kivánja átirányítani az Asztalon levő parancsikont az új telepítési helyre?";
constexpr const char* kNetworkQuestion =
    "A szoftver hálózatra történő telepítése esetén nem garantálható a hibamentes müködés. Biztosan hálózati "
    "meghajtóra akarja telepíteni?";

int Ask(WizardController& wizard, const std::string& text, ui::MsgDlgType type, int language) {
  return wizard.Services().dialogs.ShowMessage(text, type, ui::mbYes | ui::mbNo, language);
}

// Where the main shortcut of an earlier installation points; nullopt without one.
std::optional<std::string> EarlierProgramFolder(WizardController& wizard, const TExtIniFile& script) {
  const Services& services = wizard.Services();
  const ProcessState& process = services.process;
  const auto icons = engine::ReadIconList(
      script, wizard.Selection().modules, services.variables,
      {process.uninstallEnabled && !process.UninstallMode(), process.installRecordPath, wizard.State().uninstallIconTitle});
  for (const engine::ShortcutEntry& icon : icons) {
    if (!icon.mainIcon) continue;
    const std::string path = WithTrailing(wizard.Expand(icon.placement), '\\') + icon.title + ".lnk";
    const engine::ShortcutDescription link = engine::ReadShortcut(services.machine, path);
    if (!link.exists) return std::nullopt;
    const size_t slash = link.target.rfind('\\');
    return slash == std::string::npos ? "" : link.target.substr(0, slash);
  }
  return std::nullopt;
}

void SetShortcutChoice(WizardController& wizard, bool noShortcuts) {
  wizard.View().SetEnabled(ctl::kCbDoNotCreateIcons, false);
  wizard.View().SetChecked(ctl::kCbDoNotCreateIcons, noShortcuts);
  wizard.Finish().startLocationChanged = !noShortcuts;
}

bool AcceptMovedInstallation(WizardController& wizard, const TExtIniFile& script, const std::string& destination) {
  if (wizard.View().SelectedIndex(ctl::kCxOpSystem) != 0) return true;
  const auto earlier = EarlierProgramFolder(wizard, script);
  if (!earlier) return true;
  const std::string oldFolder = LowerCase(*earlier), newFolder = LowerCase(WithoutTrailing(destination, '\\'));
  if (oldFolder == newFolder) return true;
  if (wizard.Silent()) {
    SetShortcutChoice(wizard, false);
    return true;
  }
  const std::string question = kMovedQuestion1 + oldFolder + "\r\n" + kMovedQuestion2 + LowerCase(destination) +
                               "\r\n\r\n" + kMovedQuestion3 + "\r\n\r\n" + kMovedQuestion4;
  if (Ask(wizard, question, ui::MsgDlgType::Warning, ui::kHungarian) != ui::mrYes) return false;
  SetShortcutChoice(wizard, Ask(wizard, kRedirectShortcut, ui::MsgDlgType::Warning, ui::kHungarian) != ui::mrYes);
  return true;
}

bool AcceptNetworkDrive(WizardController& wizard, const std::string& destination) {
  if (wizard.Services().machine.files.GetDriveType(destination.substr(0, 3)) != platform::DriveType::Remote)
    return true;
  if (wizard.Silent()) {
    wizard.StopUnattended("the destination " + destination + " is on a network drive");
    return false;
  }
  return Ask(wizard, kNetworkQuestion, ui::MsgDlgType::Confirmation, ui::kHungarian) == ui::mrYes;
}

bool EnsureFolder(WizardController& wizard, const TExtIniFile& script, const std::string& destination) {
  platform::FileSystem& files = wizard.Services().machine.files;
  if (files.DirectoryExists(destination)) return true;
  const int language = wizard.Services().process.dialogLanguage;
  if (!wizard.Silent() && Ask(wizard, ReadDlgMessagesSection(script).folderNotExists, ui::MsgDlgType::Confirmation,
                              language) != ui::mrYes)
    return false;
  const std::vector<std::string> levels = engine::MissingFolderLevels(files, destination);
  files.CreateDirectories(destination);
  if (!files.DirectoryExists(destination)) {
    // Unattended, the run goes on and fails where it has to write.
    if (wizard.Silent()) return true;
    wizard.Services().dialogs.ShowMessage(ReadErrorMessagesSection(script).cantCreateFolder, ui::MsgDlgType::Error,
                                          ui::mbOK, language);
    return false;
  }
  engine::RecordCreatedFolders(files, levels, wizard.Record());
  return true;
}

}  // namespace

bool DestinationLeaveCheck(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  view.SetEnabled(ctl::kCbDoNotCreateIcons, true);
  view.SetChecked(ctl::kCbDoNotCreateIcons, false);
  BuildModuleList(wizard, script);
  const std::string destination = view.Text(ctl::kEDestination);
  if (!AcceptMovedInstallation(wizard, script, destination)) return false;
  if (!AcceptNetworkDrive(wizard, destination)) return false;
  if (!EnsureFolder(wizard, script, destination)) return false;
  ServerDecisionsOnLeavingDestination(wizard);
  BuildModuleList(wizard, script);
  return true;
}

}  // namespace ostravel::wizard
