#include "installer/wizard/visible_pages.h"

#include "installer/script/setup_script.h"

namespace ostravel::wizard {

namespace {
bool Visible(const TExtIniFile& script, const char* pageSection) {
  return script.ReadBool(pageSection, "Visible", false);
}
}  // namespace

PageSet BuildVisiblePages(const TExtIniFile& script, bool uninstallMode, bool silentMode) {
  PageSet pages;
  if (uninstallMode) {
    if (Visible(script, section::kUnWelcome)) pages.Include(Page::Welcome);
    pages.Include(Page::InstallKind);
    pages.Include(Page::CopyFiles);
    pages.Include(Page::Finished);
    return pages;
  }
  // Customize is never added here: it follows the installation kind.
  struct Row {
    Page page;
    const char* section;
  };
  static const Row kRows[] = {
      {Page::Welcome, section::kWelcomePage},         {Page::License, section::kLicensePage},
      {Page::Notes, section::kSetupNotesPage},        {Page::Destination, section::kDestinationPage},
      {Page::InstallKind, section::kInstallTypePage}, {Page::Summary, section::kSetupSummaryPage},
      {Page::CopyFiles, section::kCopyFilesPage},     {Page::CreateIcon, section::kIconFolderPage},
      {Page::Readme, section::kReadMeNotesPage},      {Page::Finished, section::kFinishPage},
  };
  for (const Row& row : kRows)
    if (Visible(script, row.section)) pages.Include(row.page);
  if (!silentMode) pages.Include(Page::Question1);
  return pages;
}

int FirstPageOf(const PageSet& pages) {
  for (int p = 0; p < kPageCount; ++p)
    if (pages.Contains(Page(p))) return p;
  return kPageCount;
}

Page LastPageOf(const PageSet& pages) {
  for (int p = int(Page::Finished); p > int(Page::Welcome); --p)
    if (pages.Contains(Page(p))) return Page(p);
  return Page::Welcome;
}

}  // namespace ostravel::wizard
