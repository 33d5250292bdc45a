#include "installer/wizard/page_entries.h"

namespace ostravel::wizard {

PageEntryFn PageEntryOf(Page page) {
  static const PageEntryFn kEntries[kPageCount] = {
      EnterWelcome,    EnterLicense,    EnterNotes,   EnterInstallKind, EnterDestination,
      EnterCustomize,  EnterCreateIcon, EnterQuestion1, EnterSummary,   EnterCopyFiles,
      EnterReadme,     EnterFinished,   EnterErrorFinish,
  };
  return kEntries[int(page)];
}

LeaveCheckFn LeaveCheckOf(Page) {
  // The installation-kind and destination checks join with their pages.
  return nullptr;
}

}  // namespace ostravel::wizard
