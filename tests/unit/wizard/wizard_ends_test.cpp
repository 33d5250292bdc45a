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
};

// A close while the run works is refused, also from the error page the run
// reported to; the run is never entered again; only a run that ended on Finished
// starts "install.exe" and the new launcher.
TEST_F(WizardEnds, TheRunRefusesTheCloseAndOnlyAFinishedRunStartsPrograms) {
  files.ReplaceFile("C:\\BELLORO.WIN\\install.exe", "MZ");
  for (bool locked : {false, true}) {
    view = RecordingView{};
    WriteScript(AllPagesScript());
    bindings.installRun = [&](engine::RunContext& run) {
      CloseWithYes();
      run.finish.installerProgramPath = "C:\\BELLORO.WIN\\install.exe";
      run.finish.restartCommand = "C:\\W\\setup.exe /restart";
      if (locked) run.errorJump("locked");
      CloseWithYes();
      EXPECT_EQ(view.closeCalls, 0);
    };
    Create();
    NextUntil(Page::Summary);
    Next();
    EXPECT_EQ(Current(), locked ? Page::ErrorFinish : Page::Readme);
    EXPECT_FALSE(Enabled(ctl::kBackButton));
    wizard->BackButtonClick();  // a stray click
    if (!locked) Next();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(Text(ctl::kCancelButton) == "Finish" && Enabled(ctl::kCancelButton));
    system.started.clear();
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
    bindings.webSteps.fileExists = [&](const std::string&) { return inFileCheck && (CloseWithYes(), false); };
    bindings.webSteps.downloadUpdateScript = [&](const model::WebUpdate&) { return CloseWithYes(), "C:\\TEMP\\s.inf"; };
    Create();
    Next();
    wizard->BackButtonClick();
    wizard->NextButtonClick();
    EXPECT_EQ(Current(), Page::ErrorFinish) << inFileCheck;
    EXPECT_FALSE(Enabled(ctl::kBackButton) || Enabled(ctl::kNextButton)) << inFileCheck;
  }
}

// A self-update restarts unattended (exit code 1 when it cannot); an uninstall whose
// window creation failed, or whose kind named is not offered (the kinds depend on
// the packages present), ends at once with exit code 1 and removes nothing.
TEST_F(WizardEnds, UnattendedRunsEndWithoutWalkingOn) {
  files.ReplaceFile("C:\\TEMP\\record.log", "Title:\r\n");
  const std::string uninstall = "[unWelcome]\r\nVisible=1\r\n[unInstall Type Page]\r\nRollbackEnabled=1\r\nDefaultSelected=2\r\n";
  struct Case {
    std::string script;
    std::vector<std::string> parameters;
    bool startFails;
    size_t pages;
    int exitCode;
  } cases[] = {
      {AllPagesScript(), {"/silent", "/y2020", "-dC", "/lC:\\m\\", "/noicon", "/restart", "/Modul A"}, false, 10, 0},
      {AllPagesScript(), {"/silent", "/y2020"}, true, 10, 1},
      {uninstall, {"/u", "/silent", "/lC:\\TEMP\\none.log"}, false, 1, 1},
      {uninstall, {"/u", "/silent", "/lC:\\TEMP\\record.log"}, false, 2, 1},
  };
  for (const Case& c : cases) {
    view = RecordingView{};
    process.exitCode = 0;
    system.startFails = c.startFails;
    WriteScript(c.script);
    Params(c.parameters);
    bindings.installRun = [&](engine::RunContext& run) {
      EXPECT_FALSE(process.UninstallMode()) << "nothing may be removed";
      run.finish.restartCommand = " C:\\W\\setup.exe /restart ";
    };
    Make();
    wizard->FormCreate();
    wizard->FormActivate();
    EXPECT_EQ(view.shownPages.size(), c.pages);
    EXPECT_EQ(process.exitCode, c.exitCode);
    EXPECT_EQ(view.closeCalls, 1);
  }
  EXPECT_EQ(system.started, (std::vector<std::string>{"C:\\W\\setup.exe /restart /silent /y2020 -dC /noicon \"/Modul A\"",
                                                      "C:\\W\\setup.exe /restart /silent /y2020"}));
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
