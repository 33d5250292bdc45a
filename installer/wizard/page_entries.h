#pragma once
// Each page's own part of page entry and the leave checks, one function per page,
// dispatched through one table of page specs.
#include <iterator>
#include <string>

#include "installer/script/ext_ini_file.h"
#include "installer/wizard/page.h"

namespace ostravel::wizard {

class WizardController;

struct PageEntryResult {
  // Section whose Title and Description become the header; empty for none.
  std::string section;
};

using PageEntryFn = PageEntryResult (*)(WizardController& wizard, const TExtIniFile& script);
// True lets Next advance.
using LeaveCheckFn = bool (*)(WizardController& wizard, const TExtIniFile& script);

struct PageSpec {
  Page page;
  const char* name;  // the page's component name
  PageEntryFn entry;
  LeaveCheckFn leaveCheck;  // nullptr for pages without one
};

const PageSpec& PageSpecOf(Page page);
PageEntryFn PageEntryOf(Page page);
LeaveCheckFn LeaveCheckOf(Page page);  // nullptr for pages without one

// Welcome lines beyond this are dropped: an absurd Count must not exhaust memory.
inline constexpr int kMaxWelcomeLines = 10000;

PageEntryResult EnterWelcome(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterLicense(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterNotes(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterReadme(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterInstallKind(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterDestination(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterCustomize(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterCreateIcon(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterQuestion1(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterSummary(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterCopyFiles(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterFinished(WizardController& wizard, const TExtIniFile& script);
PageEntryResult EnterErrorFinish(WizardController& wizard, const TExtIniFile& script);

}  // namespace ostravel::wizard
