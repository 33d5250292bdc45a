// Question1: which product gets a desktop shortcut. Fixed Hungarian texts; no section.
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

PageEntryResult EnterQuestion1(WizardController& wizard, const TExtIniFile&) {
  // Offer the main product's shortcut only when this year's shortcut is missing.
  const std::string shortcut = wizard.Expand("$UserDesktop$\\KORB$varProgramYear$.lnk");
  wizard.View().SetChecked(ctl::kNeedLUMBRAIcon, !wizard.Services().machine.files.FileExists(shortcut));
  return {};
}

}  // namespace ostravel::wizard
