// The destination page: the drive list and its figures, the locks of the script,
// the folder dialog, and the leave check's questions and refusals.
#include <gtest/gtest-spi.h>

#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::Page;
namespace dlg = ctl::destination_dialog;
using Space = platform::FileSystem::Space;
constexpr uint64_t kMiB = 1048576;

std::string DestinationScript(const std::string& configuration = "", const std::string& sections = "") {
  return "[Configuration]\r\nTopBanner=Lumbra 2020\r\nLanguage=5\r\n" + configuration +
         (configuration.find("Path=") == std::string::npos ? "Path=C:\\BELLORO.WIN\r\n" : "") + sections +
         "[Destination Page]\r\nVisible=1\r\nDrive=Meghajtó\r\nCapacity=Méret\r\nAvailable=Szabad\r\n"
         "Required=Kell\r\nInfo=Ide: $DefaultDestination$\r\n"
         "[Files]\r\nCount=3\r\nFile1.FileSize=1073741824\r\nFile2.FileSize=1073741824\r\nFile3.FileSize=1048576\r\n"
         "[Setup Summary Page]\r\nVisible=1\r\n[Copy Files Page]\r\nVisible=1\r\n[Finish Page]\r\nVisible=1\r\n";
}

class DestinationTest : public WizardTest {
 protected:
  DestinationTest() {
    for (char letter : {'E', 'F', 'N', 'S'}) {
      std::filesystem::create_directories(tmp.File(std::string(1, letter)));
    }
    files.MapDrive('E', tmp.File("E"), platform::DriveType::CdRom);
    files.MapDrive('F', tmp.File("F"));
    files.MapDrive('N', tmp.File("N"), platform::DriveType::Remote);
    files.MapDrive('S', tmp.File("S"), platform::DriveType::Remote);
    files.SetDriveDetails('C', {"RENDSZER", std::nullopt, Space{100 * kMiB, 4096 * kMiB}});
    files.SetDriveDetails('D', {"", std::nullopt, Space{3 * 1024 * kMiB, 8192 * kMiB}});
    files.SetDriveDetails('F', {"ROSSZ", std::nullopt, std::nullopt, true});
    files.SetDriveDetails('N', {"", "\\\\szerver\\Adatok", Space{kMiB, 2 * kMiB}});
    files.SetDriveDetails('S', {"", "\\\\szerver\\belloro.win", Space{kMiB, 2 * kMiB}});
  }
  // The dialog as a user works it: `act` gets the dialog's controls once it is up.
  void WithDialog(const std::function<void(RecordingForm&)>& act) {
    view.onModalForm = [&](wizard::FormId id, wizard::FormLogic& logic) {
      EXPECT_EQ(id, wizard::FormId::DestinationChange);
      RecordingForm form(id);
      form.sink = &logic;
      logic.FormCreate(form);
      act(form);
      return form.modalResult;
    };
    view.Click(ctl::kChangeButton);
  }
  int DriveIndex(RecordingForm& form, char letter) {
    const auto items = form.Items(dlg::kDriveList);
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i][0] == letter) return int(i);
    ADD_FAILURE() << "no drive " << letter;
    return -1;
  }
};

TEST_F(DestinationTest, DriveListShowsFixedAndNetworkDrivesWithTheirFigures) {
  WriteScript(DestinationScript());
  Create();
  ASSERT_EQ(Current(), Page::Destination);
  EXPECT_EQ(view.At(ctl::kLvDestinations).columns, (std::vector<std::string>{"Meghajtó", "Méret", "Szabad", "Kell"}));
  using Row = std::vector<std::string>;
  const std::vector<Row> expected = {
      {"C: (RENDSZER)", "4096.00 MB", "100.00 MB", "2049.00 MB"},
      {"D: ()", "8192.00 MB", "3072.00 MB", "2049.00 MB"},
      {"F: (ROSSZ)", "0.00 MB", "0.00 MB", "2049.00 MB"},  // the size query failed
      {"N: (\\\\SZERVER\\ADATOK)", "2.00 MB", "1.00 MB", "2049.00 MB"},
      {"S: (\\\\SZERVER\\BELLORO.WIN)", "2.00 MB", "1.00 MB", "2049.00 MB"},
  };
  EXPECT_EQ(view.Rows(ctl::kLvDestinations), expected);

  struct Pick {
    int row;
    const char* destination;
  };
  for (const Pick& pick : {Pick{1, "D:\\BELLORO.WIN"}, Pick{3, "N:\\BELLORO.WIN"}, Pick{4, "S:\\"}}) {
    wizard->Selection().components.push_back({});
    view.Select(ctl::kLvDestinations, pick.row);
    EXPECT_EQ(Text(ctl::kEDestination), pick.destination);
    EXPECT_EQ(variables.ExpandVariables("$DefaultDestination$"), pick.destination);
    EXPECT_TRUE(wizard->Selection().components.empty()) << "another destination reads the components afresh";
  }
}

TEST_F(DestinationTest, StoredDriveLocksUnlessTheAdministratorMayChooseFreely) {
  const std::string locked = "[Setup Options]\r\nStoredDrive=1\r\nStoredFolder=1\r\nStoredLastFolder=1\r\n";
  WriteScript(DestinationScript("", locked));
  Create();
  EXPECT_FALSE(Enabled(ctl::kLvDestinations));
  EXPECT_EQ(view.At(ctl::kLvDestinations).colour, wizard::Colour::ButtonFace);
  EXPECT_FALSE(Enabled(ctl::kChangeButton));
  EXPECT_NONFATAL_FAILURE(view.Type(ctl::kEDestination, "X"), "read-only");

  WriteScript(DestinationScript("AllowAdminFreedom=1\r\n", locked));
  view = RecordingView{};
  Create({"/a"});
  EXPECT_TRUE(Enabled(ctl::kLvDestinations));
  EXPECT_TRUE(Enabled(ctl::kChangeButton));
  view.Type(ctl::kEDestination, "d:\\sajat");
  EXPECT_EQ(variables.ExpandVariables("$DefaultDestination$"), "D:\\SAJAT");
  // The dialog's locks are lifted too.
  WithDialog([&](RecordingForm& form) {
    EXPECT_TRUE(form.Enabled(dlg::kDriveList));
    EXPECT_TRUE(form.Enabled(dlg::kFolderList));
  });
}

TEST_F(DestinationTest, DialogRefusesCdRomAndWarnsAboutSpaceOnly) {
  files.CreateDirectories("D:\\Programok\\Régi");
  WriteScript(DestinationScript("", "[ErrorMessages]\r\nNotEnoughSpace=Kevés a hely.\r\n"
                                    "[Destination Dialog]\r\nTitle=Célmappa választása\r\n"));
  Create();
  dialogs.answers = {ui::mrOk};
  WithDialog([&](RecordingForm& form) {
    EXPECT_EQ(form.caption, "Célmappa választása");
    EXPECT_EQ(form.Text(dlg::kLabel6), "2 098 176 K");
    EXPECT_EQ(form.Text(dlg::kEFolder), "C:\\BELLORO.WIN");
    EXPECT_EQ(form.Text(dlg::kLabel5), "102 400 K");
    // Deeper folders are drawn further right.
    form.Select(dlg::kDriveList, DriveIndex(form, 'D'));
    form.Select(dlg::kFolderList, 1);
    EXPECT_EQ(form.Items(dlg::kFolderList), (std::vector<std::string>{"D:\\", "Programok", "Régi"}));
    EXPECT_GT(form.sink->DrawItem(dlg::kFolderList, 2).dx, form.sink->DrawItem(dlg::kFolderList, 1).dx);
    form.Select(dlg::kDriveList, DriveIndex(form, 'E'));
    form.Click(dlg::kOKButton);
    EXPECT_EQ(form.systemWarnings, std::vector<std::string>{"Cannot install to CD-ROM / Nem telepíthet CD lemezre"});
    EXPECT_EQ(form.modalResult, 0);  // still open
    form.Select(dlg::kDriveList, DriveIndex(form, 'C'));
    form.Click(dlg::kOKButton);
    EXPECT_EQ(form.modalResult, ui::mrOk);
  });
  ASSERT_EQ(dialogs.shown.size(), 1u);  // too little space only warns
  EXPECT_EQ(dialogs.shown[0].text, "Kevés a hely.");
  EXPECT_EQ(Text(ctl::kEDestination), "C:\\");
}

TEST_F(DestinationTest, MissingFolderAnsweredNoKeepsThePage) {
  WriteScript(DestinationScript("Path=C:\\UJ\\MAPPA\r\n"));
  Create();
  dialogs.answers = {ui::mrNo};
  Next();
  EXPECT_EQ(Current(), Page::Destination);
  EXPECT_FALSE(files.DirectoryExists("C:\\UJ"));
  EXPECT_TRUE(wizard->Record().empty());
}

TEST_F(DestinationTest, EarlierInstallationElsewhereAsksTwice) {
  registry.Set(platform::RootKey::CurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               "Desktop", "C:\\Asztal");
  shell.AddLink("C:\\Asztal\\KORB2020.lnk", {"D:\\Regi\\KORB.EXE", "", "", "", ""});
  WriteScript(DestinationScript("", "[Icons]\r\nCount=1\r\nIcon1.Placement=$UserDesktop$\r\nIcon1.Title=KORB2020\r\n"
                                "Icon1.MainIcon=1\r\n"));
  Create();
  dialogs.answers = {ui::mrNo};
  Next();
  EXPECT_EQ(Current(), Page::Destination);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find("A korábbi telepítés útvonala: d:\\regi\r\nA megadott célhely: c:\\belloro.win"),
            std::string::npos);
  EXPECT_EQ(dialogs.shown[0].language, ui::kHungarian);
  dialogs.answers = {ui::mrYes, ui::mrNo};
  Next();
  EXPECT_EQ(Current(), Page::Question1);
  EXPECT_TRUE(view.Checked(ctl::kCbDoNotCreateIcons) && !Enabled(ctl::kCbDoNotCreateIcons));
  EXPECT_FALSE(wizard->Finish().startLocationChanged);
}

TEST_F(DestinationTest, UnattendedNetworkDestinationEndsTheRunAndABareSwitchChangesNothing) {
  WriteScript(DestinationScript());
  Create({"/silent", "-dn"});
  EXPECT_EQ(Current(), Page::Destination);
  EXPECT_EQ(view.closeCalls, 1);
  EXPECT_EQ(process.exitCode, 1);
  EXPECT_NE(LogText().find("Unattended run stopped on page Destination: the destination N:\\BELLORO.WIN is on a "
                           "network drive"),
            std::string::npos)
      << LogText();

  view = RecordingView{};
  process.exitCode = 0;
  Create({"/silent", "/d"});
  EXPECT_EQ(Text(ctl::kEDestination), "C:\\BELLORO.WIN");
  EXPECT_EQ(Current(), Page::Finished);
  EXPECT_EQ(process.exitCode, 0);
}

// A path on a drive that is not there, or longer than any folder can be: the page
// shows what the rules give and nothing crashes.
TEST_F(DestinationTest, PathsOnMissingDrivesOrTooLongForAnyFolder) {
  WriteScript(DestinationScript("Path=Q:\\BELLORO.WIN\r\n"));
  Create();
  EXPECT_EQ(Text(ctl::kEDestination), "C:\\BELLORO.WIN") << "the folder moves to drive C";

  view = RecordingView{};
  const std::string longPath = "C:\\" + std::string(297, 'A');
  WriteScript(DestinationScript("Path=" + longPath + "\r\n"));
  Create();
  EXPECT_EQ(Text(ctl::kEDestination), longPath);
  dialogs.answers = {ui::mrYes, ui::mrOk, ui::mrOk};
  Next();
  // No folder system takes a name that long: the refusal is said, the page stays.
  EXPECT_EQ(Current(), Page::Destination);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].text, "Unable to create destination folder! Please make sure, that you have rights to "
                                   "create folders on selected drive!");
  EXPECT_TRUE(wizard->Record().empty());
}

}  // namespace
}  // namespace ostravel::test
