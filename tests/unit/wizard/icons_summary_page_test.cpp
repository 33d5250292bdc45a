// The shortcut-group page, the desktop-shortcut question and the summary.
#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::Page;
constexpr const char* kShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string IconsScript(bool kindPage, const std::string& iconPage = "") {
  return std::string("[Configuration]\r\nTopBanner=Lumbra 2020\r\nPath=C:\\BELLORO.WIN\r\nApplication=Lumbra\r\n"
                     "Version=2020;rev\r\n[Variables]\r\n$varProgramYear$=2020\r\n") +
         "[Install Type Page]\r\nVisible=" + (kindPage ? "1" : "0") +
         "\r\nTypical=Szokásos;ignored\r\nCustom=Egyéni\r\nCustomEnabled=1\r\nDefaultSelected=3\r\n"
         "[Components]\r\nCount=2\r\nComponent1.Name=Alap\r\nComponent1.Size=10\r\nComponent1.PackName=data1\r\n"
         "Component1.Checked=1\r\nComponent2.Name=Extra\r\nComponent2.Size=10\r\nComponent2.PackName=data1\r\n"
         "[Icon Folder Page]\r\nVisible=1\r\nDefaultIconFolder=Belloro $varProgramYear$\r\nDisableText=Nem kell\r\n" +
         iconPage +
         "[Setup Summary Page]\r\nVisible=1\r\nInfo=Összegzés\r\nNext=Tovább\r\n[Copy Files Page]\r\nVisible=1\r\n"
         "[Finish Page]\r\nVisible=1\r\n"
         "[Summary]\r\nApplicationInstall=Telepítés:\r\nSelectedFolder=Mappa:\r\nInstallType=Típus:\r\n"
         "Components=Összetevők:\r\nIconsFolder=Csoport:\r\n";
}

class IconsTest : public WizardTest {
 protected:
  IconsTest() {
    registry.Set(platform::RootKey::CurrentUser, kShellFolders, "Programs", "C:\\Programs");
    registry.Set(platform::RootKey::CurrentUser, kShellFolders, "Desktop", "C:\\Asztal");
    files.CreateDirectories("C:\\Programs\\Zeta");
    files.CreateDirectories("C:\\Programs\\alfa");
    files.ReplaceFile("C:\\Programs\\readme.txt", "not a group");
  }
};

TEST_F(IconsTest, GroupListOffersTheUsersGroupsAndTheDefault) {
  WriteScript(IconsScript(false, "CanChange=0\r\n"));
  Create();
  ASSERT_EQ(Current(), Page::CreateIcon);
  EXPECT_EQ(view.Items(ctl::kIconsList), (std::vector<std::string>{"alfa", "Belloro 2020", "Zeta"}));
  EXPECT_EQ(Text(ctl::kIconsList), "Belloro 2020");
  EXPECT_FALSE(Enabled(ctl::kEIcon));
  view.Select(ctl::kIconsList, 2);
  EXPECT_EQ(Text(ctl::kEIcon), "Zeta");
  view.Click(ctl::kCbDoNotCreateIcons);
  EXPECT_FALSE(Enabled(ctl::kIconsList));
  EXPECT_EQ(view.At(ctl::kIconsList).colour, wizard::Colour::ButtonFace);
  view.Click(ctl::kCbDoNotCreateIcons);
  EXPECT_TRUE(Enabled(ctl::kIconsList) && Enabled(ctl::kEIcon));
}

TEST_F(IconsTest, DesktopQuestionOffersTheProductOnlyWhenItsShortcutIsMissing) {
  WriteScript(IconsScript(false));
  for (bool existing : {false, true}) {
    SCOPED_TRACE(existing);
    if (existing) shell.AddLink("C:\\Asztal\\KORB2020.lnk", {"C:\\BELLORO.WIN\\KORB.EXE", "", "", "", ""});
    view = RecordingView{};
    Create();
    NextUntil(Page::Question1);
    EXPECT_EQ(view.Checked(ctl::kNeedLUMBRAIcon), !existing);
    view.Click(ctl::kNeedORVELIcon);
    Back();
    Next();
    EXPECT_TRUE(view.Checked(ctl::kNeedORVELIcon)) << "kept as the user left it";
  }
}

TEST_F(IconsTest, SummaryListsWhatWillBeInstalled) {
  WriteScript(IconsScript(true));
  Create();
  Next();  // Custom
  ASSERT_EQ(Current(), Page::Customize);
  view.CheckItem(ctl::kClbComponents, 1, true);
  NextUntil(Page::Summary);
  EXPECT_EQ(Text(ctl::kSummaryMemo),
            "\r\n\tTelepítés:\r\n\t\tLumbra v2020\r\n\r\n\tMappa:\r\n\t\tC:\\BELLORO.WIN\r\n\r\n\tTípus:\r\n\t\tEgyéni\r\n"
            "\r\n\tÖsszetevők:\r\n\t\tAlap\r\n\t\tExtra\r\n\r\n\tCsoport:\r\n\t\tBelloro 2020\r\n");
}

TEST_F(IconsTest, UnattendedNoIconAndNoKindPageLeaveTheirBlocksOut) {
  WriteScript(IconsScript(false));
  Params({"/silent", "/NOICON"});
  bool noShortcuts = false;
  bindings.installRun = [&](engine::RunContext& run) { noShortcuts = run.choices.doNotCreateIcons; };
  Make();
  wizard->FormCreate();
  wizard->FormActivate();
  EXPECT_TRUE(noShortcuts);
  EXPECT_EQ(Text(ctl::kSummaryMemo), "\r\n\tTelepítés:\r\n\t\tLumbra v2020\r\n\r\n\tMappa:\r\n\t\tC:\\BELLORO.WIN\r\n");
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_EQ(process.exitCode, 0);
}

}  // namespace
}  // namespace ostravel::test
