// CreateIcon: the Start-menu group of the shortcuts, or none at all.
#include <algorithm>

#include "base/cp1250.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

PageEntryResult EnterCreateIcon(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  const IconFolderPageSection page = ReadIconFolderPageSection(script);
  view.SetEnabled(ctl::kEIcon, page.canChange);
  view.SetEnabled(ctl::kIconsList, page.canSelectExist);
  // The destination check may have fixed the box already.
  view.SetEnabled(ctl::kCbDoNotCreateIcons, view.Enabled(ctl::kCbDoNotCreateIcons) && page.canDisableCreate);
  view.SetText(ctl::kIconInfoLabel, page.info);
  const std::string group = wizard.WithChosenYear(wizard.Expand(page.defaultIconFolder));
  view.SetText(ctl::kEIcon, group);
  wizard.State().offeredIconGroup = group;
  view.SetText(ctl::kCbDoNotCreateIcons, page.disableText);

  platform::FileSystem& files = wizard.Services().machine.files;
  std::vector<std::string> groups = files.SubFolders(wizard.Expand("$UserPrograms$"));
  if (std::none_of(groups.begin(), groups.end(), [&](const std::string& g) { return SameText(g, group); }))
    groups.push_back(group);
  // The list sorts itself as the system does; this order only comes close.
  std::sort(groups.begin(), groups.end(),
            [](const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); });
  view.SetItems(ctl::kIconsList, groups);
  view.SetText(ctl::kIconsList, group);

  if (wizard.Silent()) {
    if (wizard.Services().process.switches.noIcon) view.SetChecked(ctl::kCbDoNotCreateIcons, true);
    wizard.NextButtonClick();
  }
  return {section::kIconFolderPage};
}

void IconsListClick(WizardController& wizard) {
  const std::string group = wizard.View().Text(ctl::kIconsList);
  if (!group.empty()) wizard.View().SetText(ctl::kEIcon, group);
}

void cbDoNotCreateIconsClick(WizardController& wizard) {
  WizardView& view = wizard.View();
  const bool none = view.Checked(ctl::kCbDoNotCreateIcons);
  for (const char* control : {ctl::kEIcon, ctl::kIconsList}) {
    view.SetEnabled(control, !none);
    view.SetColour(control, none ? Colour::ButtonFace : Colour::Window);
  }
}

}  // namespace ostravel::wizard
