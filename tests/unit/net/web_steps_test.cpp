#include "base/installer_error.h"
#include "installer/net/installer_version.h"
#include "installer/net/proxy_settings.h"
#include "installer/net/update_script.h"
#include "installer/net/web_file_check.h"
#include "installer/platform/http_url.h"
#include "tests/unit/net/net_fixture.h"

namespace ostravel::test {
namespace {

using platform::FakeHttpClient;
using platform::HttpFailure;

class WebSteps : public NetTest {};

TEST_F(WebSteps, WebFileCheckReportsFailureByBoxOrExitCode) {
  const std::string url = std::string(kSite) + "firebird.dat";
  m.http.Serve(url, FakeHttpClient::Broken(HttpFailure::TimedOut, "The operation timed out"));
  EXPECT_FALSE(net::WebFileExists(Net(), url));
  EXPECT_EQ(boxes, std::vector<std::string>{url + "\r\n\nThe operation timed out"});
  process.switches.silent = true;
  EXPECT_FALSE(net::WebFileExists(Net(), url));
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(process.exitCode, 1);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WebSteps, UpdateScriptBecomesTheSetupScript) {
  m.http.Serve(std::string(kSite) + "download.inf", FakeHttpClient::Ok("[Configuration]\r\nRqInstallerVersion=1.0\r\n"));
  m.files.AddFile(std::string(kTemp) + "download.inf", "stale");
  EXPECT_EQ(net::DownloadUpdateScript(Net(), web), std::string(kTemp) + "download.inf");
  EXPECT_EQ(process.scriptPath, std::string(kTemp) + "download.inf");
  EXPECT_EQ(m.files.Contents(process.scriptPath), "[Configuration]\r\nRqInstallerVersion=1.0\r\n");
  const std::string url = std::string(kSite) + "download.inf";
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Download start: " + url, "Download done: " + url}));
}

TEST_F(WebSteps, UpdateScriptFailuresKeepTheOldScript) {
  struct Case {
    const char* name;
    FakeHttpClient::Answer answer;
    std::string message;
  } cases[] = {
      {"status", FakeHttpClient::Status(503, "Service Unavailable"), "HTTP/1.1 503 Service Unavailable"},
      {"html", FakeHttpClient::Ok("<html><body>Hello</body></html>"), "is not an update script"},
      {"binary", FakeHttpClient::Ok(std::string("[A]\0\1\2", 6)), "is not an update script"},
      {"huge", FakeHttpClient::Ok(std::string(net::kMaxUpdateScriptBytes + 1, ';')), "longer than 16777216 bytes"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.name);
    m.http = {};
    dialogs.shown.clear();
    m.http.Serve(std::string(kSite) + "download.inf", t.answer);
    try {
      net::DownloadUpdateScript(Net(), web);
      ADD_FAILURE() << "no error";
    } catch (const InstallerError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Letöltési hiba!\r\n\r\n", 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find(t.message), std::string::npos) << e.what();
    }
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.rfind("Letöltési hiba!\r\n\n", 0), 0u);
    EXPECT_EQ(process.scriptPath, "D:\\Setup\\setup.inf");
  }
}

TEST_F(WebSteps, InstallerVersionComparesAsText) {
  struct Case {
    const char* running;  // nullptr: no version resource
    const char* required;  // nullptr: key missing
    bool windows;
    bool required_update;
  } cases[] = {
      {"1.9.0.0", "1.10.0.0", true, false}, {"1.0.0.1", "1.0.0.2", true, true}, {nullptr, "0.0.0.1", true, true},
      {"1.0.0.1", nullptr, true, false},    {"1.0.0.1", "9.0.0.0", false, false},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(std::string(t.running ? t.running : "none") + " vs " + (t.required ? t.required : "missing"));
    platform::VersionRecord v;
    if (t.running) {
      v.valid = true;
      std::sscanf(t.running, "%hu.%hu.%hu.%hu", &v.fileMajor, &v.fileMinor, &v.fileRelease, &v.fileBuild);
    }
    m.system.versions[m.system.programPath] = v;
    m.files.AddFile(process.scriptPath,
                    t.required ? "[Configuration]\r\nRqInstallerVersion=" + std::string(t.required) + "\r\n" : "");
    boxes.clear();
    web.installerUpdateRequired = false;
    EXPECT_EQ(net::InstallerVersionCheck(Net(), web, true, t.windows), t.required_update);
    EXPECT_EQ(boxes, t.required_update ? std::vector<std::string>{net::kNewInstallerRequired} : std::vector<std::string>{});
  }
  process.switches.silent = true;
  boxes.clear();
  EXPECT_TRUE(net::InstallerVersionCheck(Net(), web, true, true));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(WebSteps, SelfUpdateKeepsOnlyTheNewInstaller) {
  model::ComponentEntry websetup, other;
  websetup.packName = "websetup";
  other.packName = "data1";
  other.checked = other.enabled = websetup.enabled = true;
  std::string restart;
  net::ApplyInstallerUpdate(other, "C:\\Belloro\\Setup", restart);
  net::ApplyInstallerUpdate(websetup, "C:\\Belloro\\Setup", restart);
  EXPECT_FALSE(other.checked || other.enabled || websetup.enabled);
  EXPECT_TRUE(websetup.checked);
  EXPECT_EQ(restart, "C:\\Belloro\\Setup\\setup.exe /restart");
  // A blank in the folder must not make it start "C:\Program.exe".
  net::ApplyInstallerUpdate(websetup, "C:\\Program Files\\Belloro", restart);
  EXPECT_EQ(restart, "\"C:\\Program Files\\Belloro\\setup.exe\" /restart");
  EXPECT_EQ(net::UnattendedRestartCommand(restart, {"/silent", "/l\"D:\\x\""}),
            "\"C:\\Program Files\\Belloro\\setup.exe\" /restart /silent");
}

TEST_F(WebSteps, ProxyDialogLoadsStoresAndAppliesOnOkOnly) {
  const auto root = platform::RootKey::CurrentUser;
  auto show = [](const char* server, bool ok) {
    return [=](model::ProxySettings& v) {
      EXPECT_EQ(v.server, "");
      EXPECT_EQ(v.port, 0u);  // first use: not the design value 80
      v = {std::string(server), std::string("bob"), std::string("pw"), 3128u};
      return ok;
    };
  };
  model::ProxySettings current;
  net::ProxySettingsButtonClick(m.registry, m.http, current, show("proxy.local", false));
  EXPECT_EQ(m.registry.Get(root, net::kProxyKey, "ProxyServer"), nullptr);
  EXPECT_EQ(m.http.Proxy().host, "");

  net::ProxySettingsButtonClick(m.registry, m.http, current, show("proxy.local", true));
  ASSERT_NE(m.registry.Get(root, net::kProxyKey, "Proxyport"), nullptr);
  EXPECT_EQ(m.registry.Get(root, net::kProxyKey, "Proxyport")->dword, 3128u);
  EXPECT_EQ(m.registry.Get(root, net::kProxyKey, "ProxyPassword")->text, "pw");
  const platform::HttpProxy p = m.http.Proxy();
  EXPECT_EQ(p.host + ":" + std::to_string(p.port) + " " + p.username + "/" + p.password, "proxy.local:3128 bob/pw");
  EXPECT_EQ(current.server, "proxy.local");

  // Start-up applies what exists and keeps the client's value for what does not.
  m.registry.DeleteValue(root, net::kProxyKey, "ProxyUsername", platform::RegView::Wow32);
  m.http.SetProxy({"old", 1, "keep", "x"});
  net::ApplyStoredProxySettings(m.registry, m.http);
  EXPECT_EQ(m.http.Proxy().username, "keep");
  EXPECT_EQ(m.http.Proxy().host, "proxy.local");
}

TEST(HttpUrl, AddressesRedirectsAndLengths) {
  auto u = platform::ParseHttpUrl("HTTPS://Upd.Example:8443/2015/dos/download.inf?x=1");
  ASSERT_TRUE(u);
  EXPECT_TRUE(u->secure);
  EXPECT_EQ(u->host + " " + std::to_string(u->port) + " " + u->path, "Upd.Example 8443 /2015/dos/download.inf?x=1");
  for (const char* bad : {"ftp://a/b", "http://", "http://user:pw@a/", "http://a:0/", "http://a:99999/", "http://a b/"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(platform::ParseHttpUrl(bad));
  }
  struct Redirect {
    const char *from, *to;
    bool allowed;
  } redirects[] = {
      {"http://a/x", "http://A/y", true},        {"http://a/x", "http://b/x", false},
      {"https://a/x", "http://a/x", false},      {"http://a/x", "https://a/x", true},
      {"http://a:8080/x", "http://a:8081/x", false}, {"https://a/x", "https://cdn.b:8443/x", true},
      {"https://a/x", "http://cdn.b/x", false},
  };
  for (const auto& r : redirects) {
    SCOPED_TRACE(std::string(r.from) + " -> " + r.to);
    EXPECT_EQ(platform::RedirectAllowed(*platform::ParseHttpUrl(r.from), *platform::ParseHttpUrl(r.to)), r.allowed);
  }
  EXPECT_EQ(platform::ResolveLocation("http://a:81/2015/x.dat", "y.dat"), "http://a:81/2015/y.dat");
  EXPECT_EQ(platform::ResolveLocation("http://a:81/2015/x.dat", "/z/y.dat"), "http://a:81/z/y.dat");
  EXPECT_EQ(platform::ParseContentLength(" 123 "), 123);
  for (const char* bad : {"", "-5", "+5", "12a", "99999999999999999999"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(platform::ParseContentLength(bad));
  }
  EXPECT_EQ(net::FileAddress("http://a/2015", "x.dat"), "http://a/2015/x.dat");
  EXPECT_EQ(net::BuildWebUpdateUrl("http://a/", "2005", true), "http://a/2005/dos/");
}

}  // namespace
}  // namespace ostravel::test
