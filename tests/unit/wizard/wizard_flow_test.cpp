// Whole wizard flows through the recording view: page order, buttons, headers,
// closing, errors, unattended runs.
#include "base/installer_error.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/visible_pages.h"
#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::Page;
namespace ctl = wizard::ctl;

TEST_F(WizardTest, InteractiveWalkStopsOnEveryVisiblePageInOrder) {
  WriteScript(AllPagesScript());
  Create();
  std::vector<Page> walked{Current()};
  EXPECT_FALSE(Enabled(ctl::kBackButton));
  EXPECT_EQ(Text(ctl::kInstallTitleLabel), "T-Welcome");
  EXPECT_EQ(Text(ctl::kInstallDescriptionLabel), "D-Welcome");
  EXPECT_EQ(view.caption, "Lumbra 2020 - Ostravel");
  EXPECT_EQ(Text(ctl::kCancelButton), "Close");
  while (Current() != Page::Summary) {
    ASSERT_TRUE(Enabled(ctl::kNextButton)) << wizard::PageName(Current());
    ASSERT_LT(walked.size(), size_t(wizard::kPageCount));
    Next();
    walked.push_back(Current());
    if (Current() != Page::Question1) {
      EXPECT_EQ(Text(ctl::kInstallTitleLabel), std::string("T-") + wizard::PageName(Current()));
    }
  }
  // Question1 keeps the header of the page before it.
  EXPECT_EQ(walked, (std::vector<Page>{Page::Welcome, Page::License, Page::Notes, Page::InstallKind,
                                       Page::Destination, Page::CreateIcon, Page::Question1, Page::Summary}));
  // The progress page carries on by itself to Readme, where Cancel now reads Close.
  Next();
  EXPECT_EQ(Current(), Page::Readme);
  EXPECT_EQ(Text(ctl::kInstallTitleLabel), "T-Readme");
  EXPECT_FALSE(Enabled(ctl::kBackButton));  // never back into the run
  EXPECT_EQ(Text(ctl::kCancelButton), "Close");
  Next();
  EXPECT_EQ(Current(), Page::Finished);
  EXPECT_EQ(Text(ctl::kFinishedLabel), "All done.");
  EXPECT_EQ(Text(ctl::kCancelButton), "Finish");
  EXPECT_FALSE(Enabled(ctl::kBackButton));
  EXPECT_FALSE(Enabled(ctl::kNextButton));
  Close();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_EQ(process.exitCode, 0);
}

TEST_F(WizardTest, BackWalksDownTheVisiblePagesAndStopsAtTheFirst) {
  WriteScript(AllPagesScript());
  Create();
  for (int i = 0; i < 4; ++i) Next();
  ASSERT_EQ(Current(), Page::Destination);
  Back();
  Back();
  EXPECT_EQ(Current(), Page::Notes);
  Back();
  Back();
  EXPECT_EQ(Current(), Page::Welcome);
  EXPECT_FALSE(Enabled(ctl::kBackButton));
  Back();
  EXPECT_EQ(Current(), Page::Welcome);
}

TEST_F(WizardTest, SilentRunCarriesTheWholeChainAndClosesOnce) {
  WriteScript(AllPagesScript());
  int runs = 0;
  Params({"-SILENT"});
  bindings.installRun = [&](engine::RunContext&) { ++runs; };
  Make();
  wizard->FormCreate();
  EXPECT_TRUE(view.shownPages.empty());  // nothing before the first activation
  wizard->Guarded([&] { wizard->FormActivate(); });
  EXPECT_EQ(view.shownPages, (std::vector<Page>{Page::Welcome, Page::License, Page::Notes, Page::InstallKind,
                                                Page::Destination, Page::CreateIcon, Page::Summary, Page::CopyFiles,
                                                Page::Readme, Page::Finished}));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(process.exitCode, 0);
  // Later activations start nothing.
  wizard->Guarded([&] { wizard->FormActivate(); });
  EXPECT_EQ(view.shownPages.size(), 10u);
}

TEST_F(WizardTest, SilentUninstallMovesOnFromTheKindPageAndEndsByItself) {
  WriteScript("[unWelcome]\r\nVisible=1\r\n");
  files.ReplaceFile("C:\\TEMP\\record.log", "Title:\r\n");
  int runs = 0;
  Params({"/u", "/silent", "/lC:\\TEMP\\record.log"});
  bindings.installRun = [&](engine::RunContext&) { ++runs; };
  Make();
  wizard->FormCreate();
  wizard->FormActivate();
  EXPECT_EQ(view.shownPages, (std::vector<Page>{Page::Welcome, Page::InstallKind, Page::CopyFiles, Page::Finished}));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_EQ(process.exitCode, 0);
  EXPECT_TRUE(view.uninstallIcon);
}

TEST_F(WizardTest, SilentRunWithoutAnyPageEndsWithExitCodeOne) {
  WriteScript("[Configuration]\r\nPath=C:\\X\r\n");
  Create({"/silent"});
  EXPECT_TRUE(view.shownPages.empty());
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_EQ(process.exitCode, 1);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WizardTest, ScriptWithoutVisiblePagesOpensOnQuestion1Only) {
  WriteScript("[Configuration]\r\nPath=C:\\X\r\n");
  Create();
  EXPECT_EQ(Current(), Page::Question1);
  EXPECT_FALSE(Enabled(ctl::kBackButton));
  EXPECT_FALSE(Enabled(ctl::kNextButton));
  Next();
  Back();
  EXPECT_EQ(Current(), Page::Question1);
  dialogs.answers = {ui::mrYes};
  Close();
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(Text(ctl::kErrorFinishMemo), wizard::kCancelledByUser);
  Close();
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(view.closeCalls, 1);
}

TEST_F(WizardTest, MissingOrEmptyScriptStillOpensTheWindow) {
  for (const char* script : std::initializer_list<const char*>{"", "garbage without sections\r\n=\r\n[\r\n", nullptr}) {
    SCOPED_TRACE(script ? script : "(missing)");
    view = RecordingView{};
    if (script) WriteScript(script); else files.DeleteFile(process.scriptPath);
    Create();
    EXPECT_EQ(Current(), Page::Question1);
    EXPECT_EQ(view.caption, "Ostravel - Ostravel");
    EXPECT_EQ(Text(ctl::kNextButton), "Next");
    EXPECT_EQ(Text(ctl::kBackButton), "Back");
  }
}

TEST_F(WizardTest, ClosingAskesOnEveryUnfinishedPageAndFinishedPagesCloseAtOnce) {
  WriteScript(AllPagesScript() + "[DlgMessages]\r\nConfirmExit=Kilép?\r\n");
  for (int steps = 0; steps <= 9; ++steps) {
    view = RecordingView{};
    dialogs = ScriptedDialogs{};
    Create();
    for (int i = 0; i < steps; ++i) Next();
    const Page page = Current();
    SCOPED_TRACE(wizard::PageName(page));
    if (page == Page::Finished) {
      Close();
      EXPECT_TRUE(dialogs.shown.empty());
      EXPECT_EQ(view.closeCalls, 1);
      continue;
    }
    dialogs.answers = {ui::mrNo, ui::mrYes};
    Close();
    EXPECT_EQ(Current(), page);
    EXPECT_EQ(Text(ctl::kErrorFinishMemo), "");
    Close();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, "Kilép?");
    EXPECT_EQ(dialogs.shown[0].type, ui::MsgDlgType::Confirmation);
    EXPECT_EQ(dialogs.shown[0].buttons, uint32_t(ui::mbYes | ui::mbNo));
    EXPECT_EQ(dialogs.shown[0].language, 11);
    EXPECT_EQ(Current(), Page::ErrorFinish);
    EXPECT_EQ(Text(ctl::kErrorFinishMemo), wizard::kCancelledByUser);
    EXPECT_EQ(Text(ctl::kCancelButton), "Finish");
    EXPECT_EQ(Text(ctl::kInstallTitleLabel), "T-Error");
    EXPECT_EQ(Text(ctl::kErrorFinishInfoLabel), "Something failed.");
    EXPECT_EQ(view.closeCalls, 0);
    Close();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(view.closeCalls, 1);
  }
}

TEST_F(WizardTest, TitleBarCloseAnsweredOtherwiseLeavesEverything) {
  WriteScript(AllPagesScript());
  Create();
  dialogs.answers = {ui::mrCancel};
  Close();
  EXPECT_EQ(Current(), Page::Welcome);
  EXPECT_EQ(view.closeCalls, 0);
}

TEST_F(WizardTest, TwoErrorsInARowGiveTwoLinesAndOnePageEntry) {
  WriteScript(AllPagesScript());
  Create();
  Next();
  wizard->Guarded([] { throw InstallerError("first"); });
  wizard->Guarded([] { throw std::runtime_error("second"); });
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(Text(ctl::kErrorFinishMemo), "first\r\nsecond");
  EXPECT_EQ(std::count(view.shownPages.begin(), view.shownPages.end(), Page::ErrorFinish), 1);
  EXPECT_FALSE(Enabled(ctl::kBackButton));
  EXPECT_FALSE(Enabled(ctl::kNextButton));
  EXPECT_TRUE(Enabled(ctl::kCancelButton));
  EXPECT_FALSE(view.Visible(ctl::kWebBrowserButton));
  EXPECT_EQ(process.exitCode, 0);
}

TEST_F(WizardTest, ErrorReportedDuringARunLeavesTheWizardOnTheErrorPageWithFinish) {
  WriteScript(AllPagesScript());
  bool ranToTheEnd = false;
  bindings.installRun = [&](engine::RunContext& run) {
    run.finish.showErrorLink = true;
    run.errorJump("locked files");
    ranToTheEnd = true;
  };
  Create();
  NextUntil(Page::Summary);
  Next();
  EXPECT_TRUE(ranToTheEnd);
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(Text(ctl::kErrorFinishMemo), "locked files");
  EXPECT_EQ(Text(ctl::kCancelButton), "Finish");
  EXPECT_TRUE(Enabled(ctl::kCancelButton));
  EXPECT_TRUE(view.Visible(ctl::kWebBrowserButton));
  Close();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(view.closeCalls, 1);
}

TEST_F(WizardTest, ErrorEscapingARunEndsTheEntryOnTheErrorPage) {
  WriteScript(AllPagesScript());
  bindings.installRun = [](engine::RunContext&) { throw InstallerError("disk full"); };
  Create();
  NextUntil(Page::Summary);
  Next();
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(Text(ctl::kErrorFinishMemo), "disk full");
  EXPECT_EQ(Text(ctl::kCancelButton), "Finish");
}

TEST_F(WizardTest, SilentFailureEndsOnTheErrorPageWithExitCodeOne) {
  WriteScript(AllPagesScript());
  Params({"/silent"});
  bindings.installRun = [](engine::RunContext& run) { run.errorJump("broken archive"); };
  Make();
  wizard->FormCreate();
  wizard->FormActivate();
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(Text(ctl::kErrorFinishMemo), "broken archive");
  // The header belongs to the error page, not to the first page whose entry carried the chain.
  EXPECT_EQ(Text(ctl::kInstallTitleLabel), "T-Error");
  // Nobody is there to press Finish: the window ends itself and the log says why.
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_EQ(process.exitCode, 1);
  EXPECT_NE(LogText().find("Unattended run failed: broken archive"), std::string::npos) << LogText();
}

// A failure thrown out of a page entry unwinds the whole chain of entries; the
// run must still end.
TEST_F(WizardTest, SilentFailureThrownThroughTheChainEndsTheRunToo) {
  WriteScript(AllPagesScript());
  Params({"/silent"});
  bindings.installRun = [](engine::RunContext&) { throw InstallerError("HTTP/1.1 401 Unauthorized"); };
  Make();
  wizard->FormCreate();
  wizard->FormActivate();
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_EQ(process.exitCode, 1);
  EXPECT_NE(LogText().find("Unattended run failed: HTTP/1.1 401 Unauthorized"), std::string::npos) << LogText();
}

TEST_F(WizardTest, UninstallWithoutRecordOpensOnTheErrorPage) {
  WriteScript("[unWelcome]\r\nVisible=1\r\n");
  Create({"/U", "/lD:\\Setup\\"});
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(Text(ctl::kErrorFinishMemo), wizard::kNoInstallRecord);
}

TEST_F(WizardTest, UninstallFindsTheScriptThroughTheRecordTitle) {
  files.CreateDirectories("D:\\Setup\\Lumbra");
  WriteScript("[unWelcome]\r\nVisible=1\r\nCount=2\r\nLine0=Remove <b>$ApplicationName$</b>\r\nLine1=now\r\n"
              "[Configuration]\r\nApplication=Lumbra\r\nVersion=2020\r\n"
              "[unInstall Type Page]\r\nTitle=Removal kind\r\n",
              "D:\\Setup\\Lumbra\\setup.inf");
  files.ReplaceFile("C:\\TEMP\\inst.log", "title:Wrong\r\nTitle:   \r\nTitle: Lumbra \r\nTitle:Other\r\n");
  Create({"/u", "/lD:\\Setup\\", "/lC:\\TEMP\\inst.log"});
  EXPECT_EQ(process.installRecordPath, "C:\\TEMP\\inst.log");
  EXPECT_EQ(process.scriptPath, "D:\\Setup\\Lumbra\\setup.inf");
  EXPECT_EQ(Current(), Page::Welcome);
  EXPECT_EQ(Text(ctl::kSlWelcome), "Remove <b>Lumbra v2020</b>\r\nnow");
  Next();
  EXPECT_EQ(Current(), Page::InstallKind);
  EXPECT_EQ(Text(ctl::kInstallTitleLabel), "Removal kind");
  Next();
  EXPECT_EQ(Current(), Page::Finished);  // the run (none here) carried on
}

TEST_F(WizardTest, AbsurdWelcomeLineCountIsBounded) {
  WriteScript("[Welcome Page]\r\nVisible=1\r\nCount=2000000000\r\nLine0=Hello\r\n");
  Create();
  const std::string text = Text(ctl::kSlWelcome);
  EXPECT_EQ(text.substr(0, 7), "Hello\r\n");
  // Only a bounded number of (empty) lines follows the one written.
  EXPECT_LE(std::count(text.begin(), text.end(), '\n'), wizard::kMaxWelcomeLines - 1);
  EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 0);
}

TEST_F(WizardTest, WebUpdateDescriptionTakesTheChosenYear) {
  WriteScript("[Variables]\r\n$varProgramYear$=2019\r\n[Welcome Page]\r\nVisible=1\r\nDescription=Lumbra 2019 update\r\n");
  Create();
  view.SetItems(ctl::kCxInstallKind, {"Full;x", "Web;y"});
  view.SetSelectedIndex(ctl::kCxInstallKind, 1);
  view.SetSelectedIndex(ctl::kCxProgramYear, 3);  // 2017
  wizard->Selection().webUpdateKindIndex = 1;
  EXPECT_EQ(wizard->WithChosenYear(Text(ctl::kInstallDescriptionLabel)), "Lumbra 2017 update");
  view.SetSelectedIndex(ctl::kCxInstallKind, 0);
  EXPECT_EQ(wizard->WithChosenYear("Lumbra 2019 update"), "Lumbra 2019 update");
}

}  // namespace
}  // namespace ostravel::test
