#include "installer/wizard/page_entries.h"

#include "installer/wizard/page_handlers.h"

namespace ostravel::wizard {

PageEntryFn PageEntryOf(Page page) {
  static const PageEntryFn kEntries[kPageCount] = {
      EnterWelcome,    EnterLicense,    EnterNotes,   EnterInstallKind, EnterDestination,
      EnterCustomize,  EnterCreateIcon, EnterQuestion1, EnterSummary,   EnterCopyFiles,
      EnterReadme,     EnterFinished,   EnterErrorFinish,
  };
  return kEntries[int(page)];
}

LeaveCheckFn LeaveCheckOf(Page page) {
  if (page == Page::InstallKind) return InstallKindLeaveCheck;
  if (page == Page::Destination) return DestinationLeaveCheck;
  return nullptr;
}

}  // namespace ostravel::wizard
