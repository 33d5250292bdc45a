// Customize: the component check list with the space it needs, the space there is
// and, for a web update, what will be downloaded. A web update first fetches the
// update site's script and ends the wizard early when nothing is new.
#include "base/installer_error.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/component_list.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/module_list.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/processing_panel.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

constexpr const char* kDownloadingInfo = "Frissítési információk letöltése...";

void ShowAvailableSpace(WizardController& wizard) {
  const std::string destination = wizard.View().Text(ctl::kEDestination);
  int64_t free = 0;
  if (!destination.empty()) {
    if (auto space = wizard.Services().machine.files.GetDiskSpace(destination.substr(0, 1) + ":\\"))
      free = int64_t(space->freeBytes);
  }
  wizard.View().SetText(ctl::kAvSpaceLabel, FormatMegabytes(free));
}

void BuildFromScript(WizardController& wizard, const std::string& scriptPath) {
  WithScript(wizard.Services().machine.files, scriptPath,
             [&](const TExtIniFile& script) { BuildModuleList(wizard, script); });
  BuildComponentEntries(wizard, scriptPath);
  FillCheckList(wizard);
}

// The update site's script replaces the medium's for the rest of the run.
void BuildFromUpdateSite(WizardController& wizard) {
  ProcessingScope busy(wizard.View(), [&wizard] { return wizard.CurrentPage() == Page::Customize; },
                       {ctl::kCustomizeInfoLabel, ctl::kClbComponents, ctl::kCustomizeSizePanel,
                        ctl::kCustomizeInfoPanel, ctl::kSlCustomize, ctl::kDownloadSizeLabel, ctl::kDnSizeLabel,
                        ctl::kRequiredSpaceLabel, ctl::kRqSpaceLabel, ctl::kAvailableSpaceLabel,
                        ctl::kAvSpaceLabel},
                       kDownloadingInfo);
  const Services& services = wizard.Services();
  const WebSteps& steps = wizard.Bindings().webSteps;
  services.log.WriteLog("DownloadInfoFileFromInternet start");
  if (!steps.downloadUpdateScript) throw InstallerError(wizard.Web().downloadGeneral);
  const std::string script = steps.downloadUpdateScript(wizard.Web());
  services.log.WriteLog("DownloadInfoFileFromInternet done");
  if (wizard.CurrentPage() != Page::Customize) return;  // closed meanwhile
  services.process.scriptPath = script;
  if (steps.installerVersionCheck)
    steps.installerVersionCheck(wizard.Web(), true, wizard.View().SelectedIndex(ctl::kCxOpSystem) == 0);
  BuildFromScript(wizard, script);
}

void SetOwnHeader(WizardController& wizard, const TExtIniFile& script) {
  const PageHeader header = ReadPageHeader(script, section::kComponentsPage);
  wizard.View().SetText(ctl::kInstallTitleLabel, wizard.Expand(header.title));
  wizard.View().SetText(ctl::kInstallDescriptionLabel, wizard.Expand(header.description));
}

}  // namespace

PageEntryResult EnterCustomize(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  const bool web = WebUpdateKindSelected(wizard);
  const DestinationPageSection destination = ReadDestinationPageSection(script);
  view.SetText(ctl::kAvailableSpaceLabel, destination.available);
  view.SetText(ctl::kRequiredSpaceLabel, destination.required);
  // The header goes up before a download can keep the page busy.
  if (!wizard.Silent()) SetOwnHeader(wizard, script);
  const ComponentsPageSection page = ReadComponentsPageSection(script);
  if (web) view.SetText(ctl::kDownloadSizeLabel, page.downloadSize);
  view.SetVisible(ctl::kDownloadSizeLabel, web);
  view.SetVisible(ctl::kDnSizeLabel, web);
  view.SetText(ctl::kCustomizeInfoLabel, page.info);
  ShowAvailableSpace(wizard);
  clbComponentsClickCheck(wizard);
  if (view.Items(ctl::kClbComponents).empty()) {
    if (web)
      BuildFromUpdateSite(wizard);
    else
      BuildFromScript(wizard, wizard.Services().process.scriptPath);
    // Closed while the list was built: the error page's buttons stay as they are.
    if (wizard.CurrentPage() != Page::Customize) return {};
    ShowAvailableSpace(wizard);
    clbComponentsClickCheck(wizard);
    if (web && !view.Enabled(ctl::kNextButton)) {
      wizard.Web().noUpdateFound = true;
      wizard.GoToPage(Page::Finished);
      return {};
    }
  }
  if (wizard.Silent()) {
    wizard.NextButtonClick();
    return {section::kComponentsPage};
  }
  return {};
}

void clbComponentsClickCheck(WizardController& wizard) {
  WizardView& view = wizard.View();
  HourglassScope hourglass(view);
  int64_t required = 0, download = 0;
  bool anyChecked = false;
  for (model::ComponentEntry& e : wizard.Selection().components) {
    const int item = ComponentItemIndex(wizard, e.name);
    if (item < 0) continue;
    e.selected = view.ItemChecked(ctl::kClbComponents, item);
    if (!e.selected) continue;
    required += e.size;
    download += e.packSize;
    anyChecked = true;
  }
  view.SetText(ctl::kRqSpaceLabel, FormatMegabytes(required));
  view.SetText(ctl::kDnSizeLabel, FormatMegabytes(download));
  view.SetEnabled(ctl::kNextButton, anyChecked);
}

void clbComponentsClick(WizardController& wizard) {
  WizardView& view = wizard.View();
  const int focused = view.SelectedIndex(ctl::kClbComponents);
  for (const model::ComponentEntry& e : wizard.Selection().components)
    if (focused >= 0 && ComponentItemIndex(wizard, e.name) == focused) view.SetText(ctl::kSlCustomize, e.description);
}

}  // namespace ostravel::wizard
