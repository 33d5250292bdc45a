// Window creation and the closing actions of a finished wizard.
#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

namespace ctl = wizard::ctl;
using wizard::Page;

TEST_F(WizardTest, CreationReadsTheScriptIntoTheWindow) {
  files.MapDrive('E', tmp.File("E"), platform::DriveType::CdRom);
  registry.Set(platform::RootKey::CurrentUser, "Software\\Belloro\\Installer", "ProxyServer", "proxy.local");
  WriteScript("[Configuration]\r\nPath=E:\\belloro.win\r\nTopBanner=Orvel\r\n"
              "[Buttons]\r\nBackButton=Vissza\r\nNextButton=Tovább\r\nCloseButton=Bezár\r\n");
  system.versions[system.programPath] = {true, "1.02", 0, 0, 0, 0, 1, 2, 3, 4};
  files.ReplaceFile(system.programPath, "MZ");
  files.SetDosTime(system.programPath, PackDosDateTime({2024, 5, 6, 7, 8, 10, 0}));
  files.ReplaceFile("D:\\Setup\\belloro.doc", "doc");
  Create();
  // A CD-ROM destination moves to the Windows drive, shown in upper case.
  EXPECT_EQ(Text(ctl::kEDestination), "C:\\BELLORO.WIN");
  EXPECT_EQ(variables.Value("$DefaultDestination$"), "C:\\BELLORO.WIN");
  EXPECT_EQ(Text(ctl::kBuildInfoLabel), "Frissítve: 2024.05.06  07:08:10  [1.2.3.4]");
  EXPECT_TRUE(view.Visible(ctl::kInformationButton));
  EXPECT_EQ(Text(ctl::kBackButton), "Vissza");
  EXPECT_EQ(Text(ctl::kCancelButton), "Bezár");
  EXPECT_EQ(view.caption, "Orvel - Ostravel");
  EXPECT_EQ(wizard->Web().proxy.server, "proxy.local");
  EXPECT_FALSE(wizard->Web().proxy.port.has_value());
  EXPECT_EQ(Text(ctl::kCxProgramYear), "2020");
  EXPECT_FALSE(Enabled(ctl::kCxOpSystem));
  wizard->Guarded([&] { wizard->InformationButtonClick(); });
  EXPECT_EQ(view.opened, std::vector<std::string>{"D:\\Setup\\belloro.doc|D:\\Setup"});
}

TEST_F(WizardTest, RegistryDefaultPathReplacesTheConfiguredOne) {
  registry.Set(platform::RootKey::LocalMachine, "SOFTWARE\\Belloro", "Dest", "d:\\stored");
  for (const char* value : {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Belloro;Dest", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Belloro;None",
                            "hkey_local_machine\\SOFTWARE\\Belloro;Dest", "garbage"}) {
    SCOPED_TRACE(value);
    WriteScript(std::string("[Configuration]\r\nPath=D:\\Configured\r\nRegistryDefaultPath=") + value + "\r\n");
    Create();
    const bool readable = std::string(value) == "HKEY_LOCAL_MACHINE\\SOFTWARE\\Belloro;Dest";
    EXPECT_EQ(Text(ctl::kEDestination), readable ? "D:\\STORED" : "D:\\CONFIGURED");
  }
}

TEST_F(WizardTest, RunningMarkerLivesAsLongAsTheWindow) {
  WriteScript("");
  Create();
  const uint16_t atom = system.FindAtom("OSTRAVEL");
  ASSERT_NE(atom, 0);
  wizard->FormDestroy();
  EXPECT_EQ(system.FindAtom("OSTRAVEL"), 0);
  // The launcher's marker is taken over and removed with the window, too.
  system.AddAtom("OSTRAVEL");
  Create();
  EXPECT_EQ(system.atoms.size(), 1u);
  wizard->FormDestroy();
  EXPECT_TRUE(system.atoms.empty());
}

TEST_F(WizardTest, ClosingAFinishedWizardStartsTheProgramAndTheRestart) {
  WriteScript(AllPagesScript() + "[Configuration]\r\n");
  Create();
  files.ReplaceFile("C:\\TEMP\\install.exe", "MZ");
  wizard->Finish().installerProgramPath = "C:\\TEMP\\install.exe";
  wizard->Finish().restartCommand = "  D:\\Setup\\setup.exe /restart ";
  wizard->Finish().startLocationChanged = true;
  NextUntil(Page::Finished);
  Close();
  EXPECT_EQ(system.started, (std::vector<std::string>{"\"C:\\TEMP\\install.exe\"", "D:\\Setup\\setup.exe /restart"}));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].language, ui::kHungarian);
  EXPECT_EQ(dialogs.shown[0].type, ui::MsgDlgType::Warning);
  EXPECT_NE(dialogs.shown[0].text.find("C:\\BELLORO.WIN"), std::string::npos);
  // A second close request does nothing more.
  Close();
  EXPECT_EQ(system.started.size(), 2u);
  EXPECT_EQ(view.closeCalls, 1);
}

}  // namespace
}  // namespace ostravel::test
