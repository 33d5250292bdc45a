// The installation-kind page: which kinds are offered and selected, what a kind
// changes in the page sequence, the web update's year and variant, and the server
// decisions on leaving.
#include "base/installer_error.h"
#include "installer/net/proxy_settings.h"
#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::Page;

std::string KindScript(const std::string& typePage) {
  return "[Configuration]\r\nTopBanner=Lumbra 2020\r\nPath=C:\\BELLORO.WIN\r\nInternetUpdateSite=http://upd/\r\n"
         "[Variables]\r\n$varProgramYear$=2020\r\n[Install Type Page]\r\nVisible=1\r\n" + typePage +
         "[Destination Page]\r\nVisible=1\r\n[Setup Summary Page]\r\nVisible=1\r\n"
         "[Components]\r\nCount=1\r\nComponent1.Name=Base\r\nComponent1.Size=1000\r\nComponent1.PackName=data1\r\n";
}

constexpr const char* kEveryKind =
    "Compact=Kicsi\r\nCompactInfo=első\\nmásodik\r\nFull=Teljes\r\nTypical=Szokásos\r\n"
    "Custom=Egyéni\r\nCustomEnabled=1\r\nWebUpdate=Internet\r\nWebUpdateEnabled=1\r\n";

TEST_F(WizardTest, KindsOfferedAndSelectedByTheScript) {
  struct Case {
    std::string typePage;
    bool packages;
    size_t count;
    int selected;
  };
  const Case cases[] = {
      {kEveryKind, true, 5, 2},
      {std::string(kEveryKind) + "DefaultSelected=9\r\n", true, 5, -1},  // out of range: nothing
      {"WebUpdate=Internet\r\nWebUpdateEnabled=1\r\nDefaultSelected=3\r\n", false, 1, 0},  // the only one
      {"Typical=Szokásos\r\nWebUpdate=Internet\r\n", false, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typePage);
    view = RecordingView{};
    if (!c.packages) files.DeleteFile("D:\\Setup\\data1.dat");
    WriteScript(KindScript(c.typePage));
    Create();
    EXPECT_EQ(view.Items(ctl::kCxInstallKind).size(), c.count);
    EXPECT_EQ(view.SelectedIndex(ctl::kCxInstallKind), c.selected);
    EXPECT_EQ(Enabled(ctl::kNextButton), c.selected >= 0);
    files.ReplaceFile("D:\\Setup\\data1.dat", "archive");
  }
  view = RecordingView{};
  WriteScript(KindScript(kEveryKind));
  Create();
  EXPECT_EQ(wizard->Selection().customKindIndex, 3);
  EXPECT_EQ(wizard->Selection().webUpdateKindIndex, 4);
  // The panel shows the description with its line breaks; the combo draws the caption.
  view.Select(ctl::kCxInstallKind, 0);
  EXPECT_EQ(Text(ctl::kSlInstallKind), "első\r\nmásodik");
  EXPECT_EQ(wizard->DrawItem(ctl::kCxInstallKind, 0).text, "Kicsi");
}

TEST_F(WizardTest, UninstallKindsFollowTheirSwitches) {
  files.ReplaceFile("C:\\TEMP\\record.log", "Title:\r\n");
  WriteScript("[unInstall Type Page]\r\nRepairEnabled=1\r\nRollbackEnabled=1\r\nRepair=Javítás\r\n"
              "[Components]\r\nCount=1\r\nComponent1.Size=1\r\nComponent1.PackName=data1\r\n");
  Create({"/u", "/lC:\\TEMP\\record.log"});
  EXPECT_EQ(view.Items(ctl::kCxInstallKind),
            (std::vector<std::string>{"Full Uninstall;", "Javítás;", "Rollback last install;"}));
  EXPECT_EQ(view.SelectedIndex(ctl::kCxInstallKind), 0);
  EXPECT_EQ(wizard->Selection().rollbackKindIndex, 2);
}

TEST_F(WizardTest, CustomJoinsTheComponentsPageAndTypicalEmptiesIt) {
  WriteScript(KindScript(kEveryKind));
  Create();
  view.Select(ctl::kCxInstallKind, 3);
  NextUntil(Page::Customize);
  EXPECT_EQ(view.Items(ctl::kClbComponents), std::vector<std::string>{"Base"});
  Back();
  Back();
  wizard->OnEvent(ctl::kCxInstallKind, wizard::ControlEvent::Enter);
  view.Select(ctl::kCxInstallKind, 2);
  EXPECT_TRUE(wizard->Selection().components.empty() && view.Items(ctl::kClbComponents).empty());
  EXPECT_FALSE(wizard->State().visiblePages.Contains(Page::Customize));
}

TEST_F(WizardTest, WebUpdateFixesAddressDestinationAndQuestion1OnLeaving) {
  struct Case {
    int yearIndex;  // in the year list, 2020 first
    bool dos;
    const char* url;
    const char* destination;
    bool question1;
  };
  WriteScript(KindScript("WebUpdate=Internet\r\nWebUpdateEnabled=1\r\n"));
  files.DeleteFile("D:\\Setup\\data1.dat");  // the web update is the only kind
  for (const Case& c : {Case{15, true, "http://upd/2005/dos/", "C:\\BELLORO.INS", false},
                        Case{8, false, "http://upd/2012/", "C:\\BELLORO.WIN", false},
                        Case{7, false, "http://upd/2013/", "C:\\BELLORO.WIN", true}}) {
    SCOPED_TRACE(c.url);
    view = RecordingView{};
    std::vector<std::string> asked;
    bindings.webSteps.fileExists = [&](const std::string& url) -> bool {
      asked.push_back(url);
      // The page gives way to the processing panel while the site is asked.
      EXPECT_TRUE(view.Visible(ctl::kProcessingPanel) && !view.Visible(ctl::kCxInstallKind));
      EXPECT_FALSE(view.Enabled(ctl::kNextButton));
      throw InstallerError("no route");
    };
    Create();
    view.Select(ctl::kCxProgramYear, c.yearIndex);
    EXPECT_EQ(view.Enabled(ctl::kCxOpSystem), c.dos);
    if (c.dos) view.Select(ctl::kCxOpSystem, 1);
    Next();
    EXPECT_EQ(asked, std::vector<std::string>{std::string(c.url) + "firebird.dat"});
    EXPECT_EQ(Text(ctl::kEDestination), c.destination);
    EXPECT_EQ(view.caption, "Lumbra " + view.Items(ctl::kCxProgramYear)[size_t(c.yearIndex)] + " - Ostravel");
    EXPECT_EQ(wizard->State().visiblePages.Contains(Page::Question1), c.question1);
    // A failing check restores the page on its way to the error page.
    EXPECT_EQ(Current(), Page::ErrorFinish);
    EXPECT_TRUE(view.Visible(ctl::kCxInstallKind) && !view.Visible(ctl::kProcessingPanel));
  }
}

// The proxy button opens TProxySettingsForm, which the recording view drives from
// the control table: the stored values in its fields, OK stores and applies what
// was typed, Cancel leaves everything as it was.
TEST_F(WizardTest, ProxyButtonRunsTheProxyDialogOnTheStoredValues) {
  namespace proxy = ctl::proxy_dialog;
  WriteScript(KindScript("WebUpdate=Internet\r\nWebUpdateEnabled=1\r\n"));
  files.DeleteFile("D:\\Setup\\data1.dat");  // the web update is the only kind
  bindings.webSteps.proxySettings = [this](model::WebUpdate& web, const wizard::WebSteps::ProxyDialog& show) {
    net::ProxySettingsButtonClick(registry, http, web.proxy, show);
  };
  Create();
  struct Step {
    const char* what;
    std::vector<std::string> shown;  // server, port, user name, password
    std::vector<std::string> typed;
    const char* button;
    int result;
    platform::HttpProxy applied;
  } steps[] = {
      {"first use", {"", "0", "", ""}, {"proxy.belloro.hu", " 3128 ", "kovács", "titok"}, proxy::kOKButton, ui::mrOk,
       {"proxy.belloro.hu", 3128, "kovács", "titok"}},
      {"cancelled", {"proxy.belloro.hu", "3128", "kovács", "titok"}, {"other", "1", "x", "y"}, proxy::kCancelButton,
       ui::mrCancel, {"proxy.belloro.hu", 3128, "kovács", "titok"}},
      {"a word for the port", {"proxy.belloro.hu", "3128", "kovács", "titok"}, {"p", "nyolcvan", "", ""},
       proxy::kOKButton, ui::mrOk, {"p", 0, "", ""}},
  };
  const char* const fields[] = {proxy::kProxyServer, proxy::kProxyPort, proxy::kProxyUsername, proxy::kProxyPassword};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    int result = -1;
    view.onModalForm = [&](wizard::FormId id, wizard::FormLogic& logic) {
      EXPECT_EQ(id, wizard::FormId::ProxySettings);
      RecordingForm form(id);
      form.sink = &logic;
      logic.FormCreate(form);
      for (size_t i = 0; i < 4; ++i) EXPECT_EQ(form.Text(fields[i]), step.shown[i]) << fields[i];
      EXPECT_TRUE(form.At(proxy::kProxyServer).focused);
      for (size_t i = 0; i < 4; ++i) form.Type(fields[i], step.typed[i]);
      form.Click(step.button);
      return result = form.modalResult;
    };
    view.Click(ctl::kProxySettingsButton);
    EXPECT_EQ(result, step.result);
    const platform::HttpProxy p = http.Proxy();
    EXPECT_EQ(p.host + "|" + std::to_string(p.port) + "|" + p.username + "|" + p.password,
              step.applied.host + "|" + std::to_string(step.applied.port) + "|" + step.applied.username + "|" +
                  step.applied.password);
    ASSERT_NE(registry.Get(platform::RootKey::CurrentUser, net::kProxyKey, "Proxyport"), nullptr);
    EXPECT_EQ(registry.Get(platform::RootKey::CurrentUser, net::kProxyKey, "Proxyport")->dword, step.applied.port);
  }
}

TEST_F(WizardTest, OlderServerThatWillNotStopEndsOnTheErrorPage) {
  WriteScript(KindScript(kEveryKind));
  PlantServer25();
  desktop.windows.push_back({"FB_Server", platform::FakeDesktopWindows::OnClose::Refuses, ""});
  Create();
  Next();
  EXPECT_EQ(Current(), Page::ErrorFinish);
  EXPECT_EQ(Text(ctl::kErrorFinishMemo), "A Telepítő nem tudta leállítani a futó InterBase/FireBird alkalmazást!");
  EXPECT_EQ(view.minimised + view.restored, 2);
}

}  // namespace
}  // namespace ostravel::test
