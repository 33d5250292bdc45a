// InstallKind: the installation kinds (install or uninstall), the program year and
// operating-system variant of a web update, and the leave check that fixes the
// update address, may move the destination, drops Question1 for old years and
// settles the database server.
#include "base/cp1250.h"
#include "base/text.h"
#include "installer/script/command_line.h"
#include "installer/script/local_packages.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/component_list.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/processing_panel.h"
#include "installer/wizard/proxy_settings_dialog.h"
#include "installer/wizard/server_bridge.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

constexpr const char* kCheckingConnection = "Internetkapcsolat ellenőrzése...";
constexpr const char* kServerArchive = "firebird.dat";

// "caption;description", the description's "\n" pairs made line breaks.
std::string KindItem(const std::string& caption, const std::string& description) {
  std::string text = description;
  for (size_t at = 0; (at = text.find("\\n", at)) != std::string::npos; at += 2) text.replace(at, 2, "\r\n");
  return caption + ";" + text;
}

int AddKind(std::vector<std::string>& items, const std::string& caption, const std::string& description) {
  items.push_back(KindItem(caption, description));
  return int(items.size()) - 1;
}

// The previous selection survives a rebuild by position; otherwise the only kind,
// or the script's default (an out-of-range default selects nothing).
void SelectKind(WizardView& view, int previous, int defaultSelected, int count) {
  int index = previous;
  if (previous < 0) index = count == 1 ? 0 : defaultSelected;
  view.SetSelectedIndex(ctl::kCxInstallKind, index >= 0 && index < count ? index : -1);
}

// Rebuilds the combo inside one update bracket; returns the selection before.
int BeginKinds(WizardView& view, const std::string& info) {
  view.SetText(ctl::kSlInstallKind, "");
  const int previous = view.SelectedIndex(ctl::kCxInstallKind);
  view.SetText(ctl::kInstallKindInfoLabel, info);
  return previous;
}

bool PackagesOnMedium(WizardController& wizard, const TExtIniFile& script) {
  return LocalPackagesPresent(script, wizard.Services().machine.files, wizard.Services().process.sourceFolder);
}

// Unattended: the year comes from "/y<year>" (or "-y<year>").
bool SelectSilentYear(WizardController& wizard) {
  const std::vector<std::string>& params = wizard.Services().process.parameters;
  int at = ParamIndexOf(params, "/y");
  if (at == 0) at = ParamIndexOf(params, "-y");
  if (at == 0) return true;
  const std::string year = params[size_t(at - 1)].substr(2, 4);
  const std::vector<std::string> years = wizard.View().Items(ctl::kCxProgramYear);
  for (size_t i = 0; i < years.size(); ++i) {
    if (years[i] != year) continue;
    wizard.View().SetSelectedIndex(ctl::kCxProgramYear, int(i));
    wizard.cxProgramYearSelect();
    return true;
  }
  wizard.StopUnattended("the program year \"" + year + "\" is not offered");
  return false;
}

PageEntryResult EnterUninstallKind(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  model::Selection& selection = wizard.Selection();
  const UnInstallTypePageSection page = ReadUnInstallTypePageSection(script);
  const int previous = BeginKinds(view, page.info);
  std::vector<std::string> items;
  AddKind(items, page.unInstall, page.unInstallInfo);
  if (PackagesOnMedium(wizard, script) && page.repairEnabled)
    selection.repairKindIndex = AddKind(items, page.repair, page.repairInfo);
  if (page.rollbackEnabled) selection.rollbackKindIndex = AddKind(items, page.rollback, page.rollbackInfo);
  view.SetItems(ctl::kCxInstallKind, items);
  SelectKind(view, previous, page.defaultSelected, int(items.size()));
  cxInstallKindSelect(wizard);
  // Unattended removal moves on like every other page; it would wait forever here.
  // Without a kind it removes nothing: the kinds offered depend on the packages
  // present, so a number that names none must never become a Full Uninstall.
  if (wizard.Silent()) {
    if (view.SelectedIndex(ctl::kCxInstallKind) < 0) {
      wizard.StopUnattended(Format("the uninstall kind DefaultSelected=%d is not offered (%d offered); nothing removed",
                                   page.defaultSelected, int(items.size())));
      return {section::kUnInstallTypePage};
    }
    wizard.NextButtonClick();
  }
  return {section::kUnInstallTypePage};
}

void ShowWebControls(WizardView& view, bool visible) {
  for (const char* control :
       {ctl::kProgramYearLabel, ctl::kCxProgramYear, ctl::kOpSystemLabel, ctl::kCxOpSystem, ctl::kProxySettingsButton})
    view.SetVisible(control, visible);
}

// The year's text in `text` becomes the chosen year.
std::string ReplaceYear(const std::string& text, const std::string& year, const std::string& chosen) {
  const size_t at = year.empty() ? std::string::npos : text.find(year);
  if (at == std::string::npos) return text;
  std::string result = text;
  result.replace(at, 4, chosen);
  return result;
}

// A web update installs into the year's fixed folder on the destination's drive.
void ApplyWebUpdateChoice(WizardController& wizard) {
  WizardView& view = wizard.View();
  const std::string year = view.Text(ctl::kCxProgramYear);
  const bool windows = view.SelectedIndex(ctl::kCxOpSystem) == 0;
  model::WebUpdate& web = wizard.Web();
  web.webUpdateUrl = wizard.Services().process.updateSiteUrl + year + "/";
  const std::string destination = view.Text(ctl::kEDestination);
  const std::string drive = destination.substr(0, 1);
  if (windows) {
    wizard.SetDestination(drive + ":\\belloro.win");
    if (year < "2013") wizard.State().visiblePages.Exclude(Page::Question1);
  } else {
    web.webUpdateUrl += "dos/";
    wizard.SetDestination(drive + ":\\belloro.ins");
    wizard.State().visiblePages.Exclude(Page::Question1);
  }
  const std::string programYear = wizard.Services().variables.Value("$varProgramYear$");
  view.SetCaption(ReplaceYear(view.Caption(), programYear, year));
}

bool ServerArchiveAvailable(WizardController& wizard) {
  if (!WebUpdateKindSelected(wizard))
    return wizard.Services().machine.files.FileExists(wizard.Services().process.sourceFolder + kServerArchive);
  ProcessingScope busy(
      wizard.View(), [&wizard] { return wizard.CurrentPage() == Page::InstallKind; },
      {ctl::kInstallKindInfoLabel, ctl::kCxInstallKind, ctl::kProgramYearLabel, ctl::kCxProgramYear,
       ctl::kOpSystemLabel, ctl::kCxOpSystem, ctl::kInstallKindPanel, ctl::kSlInstallKind},
      kCheckingConnection);
  wizard.Services().log.WriteLog("WebFileExists start");
  const WebSteps& steps = wizard.Bindings().webSteps;
  const bool exists = steps.fileExists && steps.fileExists(wizard.Web().webUpdateUrl + kServerArchive);
  wizard.Services().log.WriteLog("WebFileExists done");
  return exists;
}

}  // namespace

bool CustomKindSelected(WizardController& wizard) {
  const int index = wizard.Selection().customKindIndex;
  return index >= 0 && wizard.View().SelectedIndex(ctl::kCxInstallKind) == index;
}

bool WebUpdateKindSelected(WizardController& wizard) {
  const int index = wizard.Selection().webUpdateKindIndex;
  return index >= 0 && wizard.View().SelectedIndex(ctl::kCxInstallKind) == index;
}

PageEntryResult EnterInstallKind(WizardController& wizard, const TExtIniFile& script) {
  if (wizard.Uninstall()) return EnterUninstallKind(wizard, script);
  WizardView& view = wizard.View();
  model::Selection& selection = wizard.Selection();
  const InstallTypePageSection page = ReadInstallTypePageSection(script);
  const int previous = BeginKinds(view, page.info);
  std::vector<std::string> items;
  if (PackagesOnMedium(wizard, script) && !wizard.Silent()) {
    AddKind(items, page.compact, page.compactInfo);
    AddKind(items, page.full, page.fullInfo);
    AddKind(items, page.typical, page.typicalInfo);
    if (page.customEnabled) selection.customKindIndex = AddKind(items, page.custom, page.customInfo);
  }
  if (page.webUpdateEnabled) selection.webUpdateKindIndex = AddKind(items, page.webUpdate, page.webUpdateInfo);
  view.SetItems(ctl::kCxInstallKind, items);
  SelectKind(view, previous, page.defaultSelected, int(items.size()));
  cxInstallKindSelect(wizard);
  if (wizard.Silent()) {
    if (!SelectSilentYear(wizard)) return {};  // stays here, header untouched
    wizard.NextButtonClick();
  }
  return {section::kInstallTypePage};
}

void cxInstallKindEnter(WizardController& wizard) {
  wizard.State().kindAtFocus = wizard.View().SelectedIndex(ctl::kCxInstallKind);
}

void cxInstallKindSelect(WizardController& wizard) {
  WizardView& view = wizard.View();
  const int selected = view.SelectedIndex(ctl::kCxInstallKind);
  // Another kind selects other components: the components page reads them afresh.
  // The kind applied is remembered, so coming back to the page with the same kind
  // keeps the check marks.
  if (selected != wizard.State().kindAtFocus) EmptyComponentList(wizard);
  wizard.State().kindAtFocus = selected;
  const bool custom = CustomKindSelected(wizard), web = WebUpdateKindSelected(wizard);
  if (custom || web)
    wizard.State().visiblePages.Include(Page::Customize);
  else
    wizard.State().visiblePages.Exclude(Page::Customize);
  ShowWebControls(view, web);
  const std::string item = view.Text(ctl::kCxInstallKind);
  const size_t semicolon = item.find(';');
  view.SetText(ctl::kSlInstallKind, semicolon == std::string::npos ? "" : item.substr(semicolon + 1));
  view.SetEnabled(ctl::kNextButton, selected >= 0);
}

void ProxySettingsButtonClick(WizardController& wizard) {
  if (!wizard.Bindings().webSteps.proxySettings) return;
  WizardView& view = wizard.View();
  wizard.Bindings().webSteps.proxySettings(wizard.Web(), [&view](model::ProxySettings& values) {
    return RunProxySettingsDialog(
        values, [&view](FormLogic& dialog) { return view.ShowModalForm(FormId::ProxySettings, dialog); });
  });
}

bool InstallKindLeaveCheck(WizardController& wizard, const TExtIniFile&) {
  if (WebUpdateKindSelected(wizard)) {
    ApplyWebUpdateChoice(wizard);
  } else if (wizard.Services().variables.Value("$varProgramYear$") < "2013") {
    wizard.State().visiblePages.Exclude(Page::Question1);
  }
  const bool serverArchive = ServerArchiveAvailable(wizard);
  // Closed while the web check ran: the wizard has ended, and decides nothing more.
  if (wizard.CurrentPage() != Page::InstallKind) return false;
  ServerDecisionsOnLeavingInstallKind(wizard, serverArchive);
  return true;  // after an error jump the wizard already stands on the error page
}

}  // namespace ostravel::wizard
