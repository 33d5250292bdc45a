// The components page: which components are listed and changeable, the sizes they
// add up to, the update test behind the check marks, and the web update's list from
// the update site.
#include "installer/script/setup_script.h"
#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::Page;

std::string CustomScript(const std::string& components, const std::string& extra = "") {
  return "[Configuration]\r\nTopBanner=Lumbra 2020\r\nPath=C:\\BELLORO.WIN\r\nInternetUpdateSite=http://upd/\r\n"
         "[Install Type Page]\r\nVisible=1\r\nTypical=Szokásos\r\nCustom=Egyéni\r\nCustomEnabled=1\r\n"
         "WebUpdate=Internet\r\nWebUpdateEnabled=1\r\nDefaultSelected=3\r\n"
         "[Destination Page]\r\nVisible=1\r\nAvailable=Szabad:\r\nRequired=Szükséges:\r\n"
         "[Components Page]\r\nTitle=T-Comp\r\nInfo=Válasszon\r\nDownloadSize=Letöltés:\r\n"
         "[Finish Page]\r\nVisible=1\r\nInfo=Kész.\r\nNoNewWebUpdate=Nincs újabb.\r\n" +
         components + extra;
}

// One component: number, name, size, pack size, and further keys.
std::string Component(int n, const std::string& name, long long size, const std::string& keys = "",
                      const std::string& pack = "data1") {
  const std::string c = "Component" + std::to_string(n);
  return c + ".Name=" + name + "\r\n" + c + ".Size=" + std::to_string(size) + "\r\n" + c + ".PackName=" + pack +
         "\r\n" + keys;
}

class CustomizeTest : public WizardTest {
 protected:
  // Opens the window unless it is open already, picks the kind and goes to the list.
  void OpenComponents(const std::string& script, int kind = 3) {
    if (!script.empty()) {
      WriteScript(script);
      Create();
    }
    view.Select(ctl::kCxInstallKind, kind);
    Next();
    Next();
  }
  std::string Rq() { return Text(ctl::kRqSpaceLabel); }
  bool ItemEnabled(int i) { return view.ItemEnabled(ctl::kClbComponents, i); }
  bool ItemChecked(int i) { return view.ItemChecked(ctl::kClbComponents, i); }
};

TEST_F(CustomizeTest, ListsWhatCanBeInstalledAndSumsTheChecked) {
  OpenComponents(
      CustomScript("[Components]\r\nCount=6\r\n" + Component(1, "Alap", 1048576, "Component1.Checked=1\r\n") +
                   Component(2, "Súgó", 0, "Component2.Checked=1\r\n") +
                   Component(3, "Extra", 2147483647, "Component3.PackSize=524288\r\nComponent3.Enabled=1\r\n") +
                   Component(4, "Extra", 1073741824, "Component4.Enabled=1\r\n") +
                   "Component5.Name=Hiányzó\r\nComponent5.Size=5\r\nComponent5.PackName=missing\r\n" +
                   Component(6, "Rögzített", 10, "Component6.Checked=1\r\nComponent6.AlwaysUpdate=1\r\n")));
  // Size 0 and a missing archive are never listed; one item stands for both "Extra".
  ASSERT_EQ(view.Items(ctl::kClbComponents), (std::vector<std::string>{"Alap", "Extra", "Rögzített"}));
  EXPECT_TRUE(ItemChecked(0) && ItemEnabled(0));  // fixed by the script, but Custom lets it change
  EXPECT_TRUE(!ItemChecked(1) && ItemEnabled(1));
  EXPECT_FALSE(ItemEnabled(2));  // always updated
  EXPECT_EQ(Rq(), "1.00 MB");
  EXPECT_FALSE(view.Visible(ctl::kDnSizeLabel));
  // Both "Extra" follow their item, and their 3 GiB add up in full.
  view.CheckItem(ctl::kClbComponents, 1, true);
  EXPECT_EQ(Rq(), "3 073.00 MB");
  EXPECT_EQ(Text(ctl::kDnSizeLabel), "0.50 MB");
  EXPECT_TRUE(wizard->Selection().components[2].selected && wizard->Selection().components[3].selected);
  view.CheckItem(ctl::kClbComponents, 0, false);
  view.CheckItem(ctl::kClbComponents, 1, false);
  EXPECT_EQ(Rq(), "0.00 MB");
  EXPECT_TRUE(Enabled(ctl::kNextButton));  // the fixed one is still checked
  Back();
  Next();
  EXPECT_FALSE(ItemChecked(0)) << "the marks survive the way back";
  // Nothing checked at all: Next is off.
  OpenComponents(CustomScript("[Components]\r\nCount=1\r\n" + Component(1, "Alap", 100, "Component1.Checked=1\r\n")));
  view.CheckItem(ctl::kClbComponents, 0, false);
  EXPECT_FALSE(Enabled(ctl::kNextButton));
}

TEST_F(CustomizeTest, OutOfDateProgramsAreCheckedAndAnOlderProductIsMandatory) {
  files.CreateDirectories("C:\\BELLORO.WIN");
  files.ReplaceFile("C:\\BELLORO.WIN\\KORB.EXE", "MZ old");
  system.versions["C:\\BELLORO.WIN\\KORB.EXE"] = {true, "", 1, 0, 0, 0, 1, 0, 0, 0};
  const std::string files =
      "[Files]\r\nCount=2\r\nFile1.CompID=1\r\nFile1.TargetFile=$DefaultDestination$\\KORB.EXE\r\nFile1.FileSize=10\r\n"
      "File1.FileUpdateRule=2\r\nFile1.ModuleVersion=2.0.0.0\r\nFile1.ProductVersion=2.00\r\n"
      "File2.CompID=2\r\nFile2.TargetFile=$DefaultDestination$\\NEW.DAT\r\nFile2.FileSize=10\r\nFile2.FileUpdateRule="
      "2\r\n";
  OpenComponents(CustomScript("[Components]\r\nCount=3\r\n" + Component(1, "Program", 10, "Component1.Enabled=1\r\n") +
                                  Component(2, "Adatok", 10, "Component2.Enabled=1\r\n") +
                                  Component(3, "Kész", 10, "Component3.Enabled=1\r\nComponent3.Checked=1\r\n"),
                              files));
  ASSERT_EQ(view.Items(ctl::kClbComponents).size(), 3u);
  EXPECT_TRUE(ItemChecked(0) && !ItemEnabled(0));  // the installed product is older: no way out
  EXPECT_TRUE(ItemChecked(1) && ItemEnabled(1));   // a missing file
  EXPECT_FALSE(ItemChecked(2));                    // nothing of it is out of date
  view.Select(ctl::kClbComponents, 0);
  EXPECT_EQ(Text(ctl::kSlCustomize).rfind("korb.exe\r\nOldDate=", 0), 0u) << Text(ctl::kSlCustomize);
}

TEST_F(CustomizeTest, WebUpdateBuildsFromTheSiteOrEndsWhenNothingIsNew) {
  const std::string site = "C:\\TEMP\\download.inf";
  const std::string upToDate =
      CustomScript("[Components]\r\nCount=1\r\n" + Component(1, "Alap", 100, "Component1.Enabled=1\r\n"));
  const std::string newer =
      CustomScript("[Components]\r\nCount=2\r\n" +
                   Component(1, "Alap", 100, "Component1.Checked=1\r\nComponent1.PackSize=2097152\r\n") +
                   Component(2, "Önfrissítő", 10, "Component2.TargetDir=C:\\W\r\n", "websetup"));
  struct Case {
    std::string siteScript;
    bool requireInstaller;
    Page page;
  };
  for (const Case& c : {Case{upToDate, false, Page::Finished}, Case{newer, false, Page::Customize},
                        Case{newer, true, Page::Customize}}) {
    SCOPED_TRACE(c.requireInstaller);
    view = RecordingView{};
    process.scriptPath = "D:\\Setup\\setup.inf";
    files.ReplaceFile(site, c.siteScript);
    WriteScript(CustomScript("[Components]\r\nCount=1\r\n" + Component(1, "Alap", 100)));
    bindings.webSteps.fileExists = [](const std::string&) { return true; };
    bindings.webSteps.downloadUpdateScript = [&](const model::WebUpdate& web) {
      EXPECT_EQ(web.webUpdateUrl, "http://upd/2020/");
      EXPECT_TRUE(view.Visible(ctl::kProcessingPanel) && !view.Visible(ctl::kClbComponents));
      return site;
    };
    bindings.webSteps.installerVersionCheck = [&](model::WebUpdate& web, bool, bool) {
      return web.installerUpdateRequired = c.requireInstaller;
    };
    Create();
    OpenComponents("", 4);
    EXPECT_EQ(Current(), c.page);
    EXPECT_EQ(process.scriptPath, site);
    EXPECT_FALSE(view.Visible(ctl::kProcessingPanel));
    if (c.page == Page::Finished) {
      EXPECT_EQ(Text(ctl::kFinishedLabel), "Nincs újabb.");
      continue;
    }
    EXPECT_TRUE(view.Visible(ctl::kClbComponents) && view.Visible(ctl::kDnSizeLabel));
    // A newer installer comes alone: only its package stays, and it restarts the wizard.
    EXPECT_EQ(ItemChecked(0), !c.requireInstaller);
    EXPECT_EQ(ItemChecked(1), c.requireInstaller);
    EXPECT_EQ(Text(ctl::kDnSizeLabel), c.requireInstaller ? "0.00 MB" : "2.00 MB");
    EXPECT_EQ(wizard->Finish().restartCommand, c.requireInstaller ? "C:\\W\\setup.exe /restart" : "");
  }
}

TEST_F(CustomizeTest, TheSigningKeyComesFromTheMediumOnly) {
  const std::string site = "C:\\TEMP\\download.inf";
  auto withKey = [](const std::string& key, const std::string& extra) {
    std::string script = CustomScript("[Components]\r\nCount=1\r\n" + Component(1, "Alap", 100), extra);
    const std::string anchor = "InternetUpdateSite=http://upd/\r\n";
    return script.replace(script.find(anchor), anchor.size(), anchor + "UpdateSigningKey=" + key + "\r\n");
  };
  files.ReplaceFile(site, withKey("SITEKEY", ""));
  for (bool keyed : {false, true}) {
    SCOPED_TRACE(keyed);
    view = RecordingView{};
    process.scriptPath = "D:\\Setup\\setup.inf";
    WriteScript(
        withKey(keyed ? " MEDIUMKEY " : "", keyed ? "[ErrorMessages]\r\nUpdateSignatureFailed=Hamis!\r\n" : ""));
    bindings.webSteps.fileExists = [](const std::string&) { return true; };
    bindings.webSteps.downloadUpdateScript = [&](const model::WebUpdate& web) {
      EXPECT_EQ(web.updateSigningKey, keyed ? "MEDIUMKEY" : "");
      EXPECT_EQ(web.updateSignatureFailed, keyed ? "Hamis!" : kDefaultUpdateSignatureFailed);
      return site;
    };
    Create();
    OpenComponents("", 4);
    EXPECT_EQ(process.scriptPath, site);
    EXPECT_EQ(wizard->Web().updateSigningKey, keyed ? "MEDIUMKEY" : "");
  }
}

}  // namespace
}  // namespace ostravel::test
