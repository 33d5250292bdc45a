#include "installer/wizard/page_entries.h"

#include "installer/wizard/page_handlers.h"

namespace ostravel::wizard {

namespace {
// Notebook order: a page's row is at its own index.
constexpr PageSpec kPages[] = {
    {Page::Welcome, "Welcome", EnterWelcome, nullptr},
    {Page::License, "License", EnterLicense, nullptr},
    {Page::Notes, "Notes", EnterNotes, nullptr},
    {Page::InstallKind, "InstallKind", EnterInstallKind, InstallKindLeaveCheck},
    {Page::Destination, "Destination", EnterDestination, DestinationLeaveCheck},
    {Page::Customize, "Customize", EnterCustomize, nullptr},
    {Page::CreateIcon, "CreateIcon", EnterCreateIcon, nullptr},
    {Page::Question1, "Question1", EnterQuestion1, nullptr},
    {Page::Summary, "Summary", EnterSummary, nullptr},
    {Page::CopyFiles, "CopyFiles", EnterCopyFiles, nullptr},
    {Page::Readme, "Readme", EnterReadme, nullptr},
    {Page::Finished, "Finished", EnterFinished, nullptr},
    {Page::ErrorFinish, "ErrorFinish", EnterErrorFinish, nullptr},
};
static_assert(std::size(kPages) == kPageCount);

constexpr bool InNotebookOrder() {
  for (int p = 0; p < kPageCount; ++p)
    if (kPages[p].page != Page(p)) return false;
  return true;
}
static_assert(InNotebookOrder(), "a page's row must be at its own index");
}  // namespace

const PageSpec& PageSpecOf(Page page) { return kPages[int(page)]; }

const char* PageName(Page page) { return PageSpecOf(page).name; }

PageEntryFn PageEntryOf(Page page) { return PageSpecOf(page).entry; }

LeaveCheckFn LeaveCheckOf(Page page) { return PageSpecOf(page).leaveCheck; }

}  // namespace ostravel::wizard
