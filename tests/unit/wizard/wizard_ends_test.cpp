// How the wizard ends: closes while the run or a blocking page entry works, the way
// back after the run, what a closed wizard starts, unattended ends.
#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::Page;

class WizardEnds : public WizardTest {
 protected:
  void CloseWithYes() {  // the title bar's close; a Yes waits in case a question comes
    dialogs.answers = {ui::mrYes};
    wizard->FormClose();
  }
  void Unattended(const std::string& script, std::vector<std::string> parameters) {
    view = RecordingView{};
    process.exitCode = 0;
    WriteScript(script);
    Params(std::move(parameters));
    Make();
  }
};

// A close while the run works is refused, the run is never entered again, and only
// a run that ended on Finished starts "install.exe" and the new launcher.
TEST_F(WizardEnds, TheRunRefusesTheCloseAndOnlyAFinishedRunStartsPrograms) {
  files.ReplaceFile("C:\\BELLORO.WIN\\install.exe", "MZ");
  for (bool locked : {false, true}) {
    SCOPED_TRACE(locked);
    view = RecordingView{};
    system.started.clear();
    WriteScript(AllPagesScript());
    Create();
    wizard->installRun = [&](engine::RunContext& run) {
      CloseWithYes();
      EXPECT_EQ(Current(), Page::CopyFiles);
      run.finish.installerProgramPath = "C:\\BELLORO.WIN\\install.exe";
      run.finish.restartCommand = "C:\\W\\setup.exe /restart";
      if (locked) run.errorJump("locked");
      CloseWithYes();  // also from the error page the run reported to
      EXPECT_EQ(view.closeCalls, 0);
    };
    NextUntil(Page::Summary);
    Next();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Current(), locked ? Page::ErrorFinish : Page::Readme);
    EXPECT_FALSE(Enabled(ctl::kBackButton));
    wizard->BackButtonClick();  // a stray click
    if (!locked) Next();
    EXPECT_EQ(Text(ctl::kCancelButton), "Finish");
    EXPECT_TRUE(Enabled(ctl::kCancelButton));
    Close();
    EXPECT_EQ(system.started.size(), locked ? 0u : 2u);
  }
}

// A close confirmed while a page entry blocks ends on the error page for good.
TEST_F(WizardEnds, ACloseDuringBlockingPageWorkLeavesTheErrorPageFinal) {
  files.ReplaceFile("C:\\TEMP\\s.inf", "[Components]\r\nCount=1\r\nComponent1.Size=9\r\nComponent1.Checked=1\r\n");
  for (bool inFileCheck : {true, false}) {
    view = RecordingView{};
    process.scriptPath = "D:\\Setup\\setup.inf";
    WriteScript("[Install Type Page]\r\nVisible=1\r\nWebUpdateEnabled=1\r\n[Finish Page]\r\nVisible=1\r\n");
    Create();
    wizard->webSteps.fileExists = [&](const std::string&) { return inFileCheck && (CloseWithYes(), false); };
    wizard->webSteps.downloadUpdateScript = [&](const model::WebUpdate&) { return CloseWithYes(), "C:\\TEMP\\s.inf"; };
    Next();
    wizard->BackButtonClick();
    wizard->NextButtonClick();
    EXPECT_EQ(Current(), Page::ErrorFinish) << inFileCheck;
    EXPECT_FALSE(Enabled(ctl::kBackButton) || Enabled(ctl::kNextButton)) << inFileCheck;
  }
}

TEST_F(WizardEnds, AnUnattendedSelfUpdateRestartsUnattendedOrFails) {
  for (bool startFails : {false, true}) {
    system.started.clear();
    system.startFails = startFails;
    Unattended(AllPagesScript(), {"/silent", "/y2020", "-dC", "/lC:\\medium\\", "/noicon", "/restart", "/Modul A"});
    wizard->installRun = [](engine::RunContext& run) { run.finish.restartCommand = " C:\\W\\setup.exe /restart "; };
    wizard->FormCreate();
    wizard->FormActivate();
    EXPECT_EQ(system.started, std::vector<std::string>{"C:\\W\\setup.exe /restart /silent /y2020 -dC /noicon \"/Modul A\""});
    EXPECT_EQ(process.exitCode, startFails ? 1 : 0);
  }
}

// Window creation failed, or the uninstall kind named is not offered (the kinds
// depend on the packages present): nothing is walked or removed, exit code 1.
TEST_F(WizardEnds, UnattendedUninstallsThatCannotGoOnEndAtOnce) {
  files.ReplaceFile("C:\\TEMP\\record.log", "Title:\r\n");
  for (bool recordThere : {false, true}) {
    Unattended("[unWelcome]\r\nVisible=1\r\n[unInstall Type Page]\r\nRollbackEnabled=1\r\nDefaultSelected=2\r\n",
               {"/u", "/silent", recordThere ? "/lC:\\TEMP\\record.log" : "/lC:\\TEMP\\none.log"});
    wizard->installRun = [](engine::RunContext&) { ADD_FAILURE() << "nothing may be removed"; };
    wizard->FormCreate();
    wizard->FormActivate();
    const std::vector<Page> walked = {Page::Welcome, Page::InstallKind}, none = {Page::ErrorFinish};
    EXPECT_EQ(view.shownPages, recordThere ? walked : none);
    EXPECT_EQ(process.exitCode, 1);
    EXPECT_EQ(view.closeCalls, 1);
  }
  EXPECT_NE(LogText().find("DefaultSelected=2 is not offered"), std::string::npos) << LogText();
}

TEST_F(WizardEnds, CustomMarksSurviveTheWayBackToTheSameKindOnly) {
  WriteScript("[Install Type Page]\r\nVisible=1\r\nCustomEnabled=1\r\n[Components]\r\nCount=2\r\nComponent1.Name=A\r\n"
              "Component1.Size=9\r\nComponent1.PackName=data1\r\nComponent2.Name=B\r\nComponent2.Size=9\r\n"
              "Component2.PackName=data1\r\n");
  Create();
  for (int otherKind : {-1, 2}) {
    view.Select(ctl::kCxInstallKind, 3);
    Next();
    view.CheckItem(ctl::kClbComponents, 1, true);
    Back();
    if (otherKind >= 0) view.Select(ctl::kCxInstallKind, otherKind);
    view.Select(ctl::kCxInstallKind, 3);
    Next();
    EXPECT_EQ(view.ItemChecked(ctl::kClbComponents, 1), otherKind < 0);
    Back();
  }
}

}  // namespace
}  // namespace ostravel::test
