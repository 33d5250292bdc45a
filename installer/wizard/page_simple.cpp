// License, Notes and Readme: their bodies keep what the window gave them; entry
// only names the section for the header.
#include "installer/script/setup_script.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {
PageEntryResult EnterSimplePage(WizardController& wizard, const char* pageSection) {
  if (wizard.Silent()) wizard.NextButtonClick();
  return {pageSection};
}
}  // namespace

PageEntryResult EnterLicense(WizardController& wizard, const TExtIniFile&) {
  return EnterSimplePage(wizard, section::kLicensePage);
}

PageEntryResult EnterNotes(WizardController& wizard, const TExtIniFile&) {
  return EnterSimplePage(wizard, section::kSetupNotesPage);
}

PageEntryResult EnterReadme(WizardController& wizard, const TExtIniFile&) {
  return EnterSimplePage(wizard, section::kReadMeNotesPage);
}

}  // namespace ostravel::wizard
