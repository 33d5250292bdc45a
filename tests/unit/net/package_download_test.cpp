#include "tests/unit/net/net_fixture.h"

namespace ostravel::test {
namespace {

using platform::FakeHttpClient;
using platform::HttpFailure;

class PackageDownload : public NetTest {};

TEST_F(PackageDownload, DownloadsCheckedArchivesAndMovesThemIntoTheCopyTarget) {
  const std::string a(3000, 'a'), b(5000, 'b');
  AddComponent("data1", a);
  AddComponent("data2", b, /*checked=*/false);
  AddComponent("data3", b);
  m.files.AddFile(std::string(kCopy) + "data3.dat", "old copy");
  ASSERT_TRUE(RunDownload());

  EXPECT_EQ(m.files.Contents(std::string(kCopy) + "data1.dat"), a);
  EXPECT_EQ(m.files.Contents(std::string(kCopy) + "data3.dat"), b);
  EXPECT_FALSE(m.files.FileExists(std::string(kCopy) + "data2.dat"));
  EXPECT_FALSE(m.files.FileExists(std::string(kTemp) + "data1.dat"));
  // Headers for the two taking part, then their gets; the unchecked one never.
  std::vector<std::string> requests;
  for (const auto& r : m.http.requests) requests.push_back(r.method + " " + r.url.substr(r.url.rfind('/') + 1));
  EXPECT_EQ(requests, (std::vector<std::string>{"HEAD data1.dat", "HEAD data3.dat", "GET data1.dat", "GET data3.dat"}));
  EXPECT_EQ(progress.maximum, 8000);
  EXPECT_EQ(progress.position, 8000);
  EXPECT_EQ(progress.statuses.back(), "Letöltés ( Komponens data3 )");
  EXPECT_EQ(statistics.path, std::string("Csomag: ") + kSite + "data3.dat");
  EXPECT_EQ(statistics.size, "4.88 KB");
  EXPECT_EQ(statistics.done, "4.88 KB");
  EXPECT_EQ(statistics.shown, (std::vector<bool>{true, false}));
  EXPECT_FALSE(statistics.timerRunning);
  const std::string url = std::string(kSite) + "data1.dat";
  const auto lines = LogLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 2),
            (std::vector<std::string>{"Download header start:" + url, "Download header done:" + url}));
  EXPECT_EQ(lines[4], "Download start: " + url);
  EXPECT_EQ(lines[5], "Download done:" + url);
  EXPECT_TRUE(errorPage.empty());
}

TEST_F(PackageDownload, SpeedTimerShowsTheAverageOfThePass) {
  AddComponent("data1", std::string(4096, 'x'));
  m.http.betweenPieces = [&] {
    statistics.ticks += 2000;
    statistics.tick();
  };
  ASSERT_TRUE(RunDownload());
  EXPECT_EQ(statistics.speed, "2.00 KB/s");  // 4 KB in 2 seconds
}

TEST_F(PackageDownload, CurrentCopyIsKeptButItsSizeStillChecked) {
  const std::string data(2000, 'c');
  auto& c = AddComponent("data1", data);
  for (const char* folder : {kCopy, kTemp})
    m.files.AddFile(std::string(folder) + "data1.dat.inf", "[Info]\r\n Last-Modified: Tue, 01 Dec 2026 10:00:00 GMT\r\n");
  m.files.AddFile(std::string(kCopy) + "data1.dat", data);
  ASSERT_TRUE(RunDownload());
  EXPECT_EQ(m.http.requests.size(), 1u);  // the header only

  c.packSize = 1999;
  EXPECT_FALSE(RunDownload());
  EXPECT_EQ(errorPage, (std::vector<std::string>{
                           "Hiba történt a fájlok Internetről való letöltése közben.\r\n\r\nMéret eltérés (data1)\r\n\r\n"
                           "Várt méret 1999 byte\r\nValós méret 2000 byte\r\n\r\n"
                           "Kérem próbálja később letölteni a frissítéseket!"}));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(process.exitCode, 0);
  process.switches.silent = true;
  EXPECT_FALSE(RunDownload());
  EXPECT_EQ(process.exitCode, 1);
}

TEST_F(PackageDownload, FreshnessNeedsBothDescriptionsEqualAndTheDigest) {
  const std::string data(100, 'd');
  struct Case {
    const char *local, *fetched, *copy;
    bool downloads;
  } cases[] = {
      {"Last-Modified: A\r\n", "last-modified: a", "d", false},  // the whole line compares lower-cased
      {"x\r\n", "y", "d", false},                                 // neither has the line: the digest decides
      {"Last-Modified: A", "Last-Modified: B", "d", true},
      {"Last-Modified: A", nullptr, "d", true},
      {"Last-Modified: A", "Last-Modified: A", "changed", true},
      {"Last-Modified: A", "Last-Modified:  A", "d", true},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(std::string(t.local) + " / " + (t.fetched ? t.fetched : "missing") + " / " + t.copy);
    m.files = {};
    m.http = {};
    m.files.AddFile(process.scriptPath, "[Configuration]\r\n");
    selection.components.clear();
    AddComponent("data1", data);
    m.files.AddFile(std::string(kCopy) + "data1.dat.inf", t.local);
    if (t.fetched) m.files.AddFile(std::string(kTemp) + "data1.dat.inf", t.fetched);
    m.files.AddFile(std::string(kCopy) + "data1.dat", std::string(t.copy) == "d" ? data : t.copy);
    ASSERT_TRUE(RunDownload());
    EXPECT_EQ(m.http.requests.size(), t.downloads ? 2u : 1u);
  }
}

TEST_F(PackageDownload, FailuresReachBoxAndErrorPageWithTheirTexts) {
  struct Case {
    const char* name;
    bool headFails;
    FakeHttpClient::Answer answer;
    std::string box, page;
  } cases[] = {
      {"header", true, FakeHttpClient::Broken(HttpFailure::Refused, "Host not found"),
       std::string("Letöltési hiba!\r\n\r\nHost not found(File URL: ") + kSite + "data2.dat)",
       std::string("Letöltési hiba!\r\n\r\nHost not found(File URL: ") + kSite + "data2.dat)"},
      {"get", false, FakeHttpClient::Status(404, "Not Found"), "Letöltési hiba!\r\n\r\nHTTP/1.1 404 Not Found",
       "Letöltési hiba!\r\n\nHTTP/1.1 404 Not Found"},
      {"digest", false, FakeHttpClient::Ok("other bytes"), "MD5 Checksum failed!", "MD5 Checksum failed!"},
  };
  for (auto& t : cases) {
    for (bool silent : {false, true}) {
      SCOPED_TRACE(std::string(t.name) + (silent ? " silent" : ""));
      m.files = {};
      m.files.AddFile(process.scriptPath, "[Configuration]\r\n");
      selection.components.clear();
      dialogs.shown.clear();
      errorPage.clear();
      process.exitCode = 0;
      process.switches.silent = silent;
      AddComponent("data1", "first");
      auto& second = AddComponent("data2", "other bytes");
      if (t.name == std::string("digest")) second.packChecksum = Md5Hex("what was described");
      const std::string url = std::string(kSite) + "data2.dat";
      m.http = {};
      m.http.Serve(std::string(kSite) + "data1.dat", FakeHttpClient::Ok("first"));
      FakeHttpClient::Answer head = FakeHttpClient::Ok("other bytes");
      m.http.Serve(url, t.headFails ? t.answer : head);
      if (!t.headFails) m.http.Serve(url, t.answer);

      EXPECT_FALSE(RunDownload());
      EXPECT_EQ(errorPage, std::vector<std::string>{t.page});
      EXPECT_EQ(process.exitCode, silent ? 1 : 0);
      ASSERT_EQ(dialogs.shown.size(), silent ? 0u : 1u);
      if (!silent) {
        EXPECT_EQ(dialogs.shown[0].text, t.box);
        EXPECT_EQ(dialogs.shown[0].type, ui::MsgDlgType::Error);
      }
      // Nothing of a failed pass reaches the copy target.
      EXPECT_FALSE(m.files.FileExists(std::string(kCopy) + "data1.dat"));
      EXPECT_FALSE(m.files.FileExists(std::string(kCopy) + "data2.dat"));
      EXPECT_FALSE(statistics.visible);
    }
  }
  process.switches.silent = false;
}

TEST_F(PackageDownload, OptInSha256MustMatchToo) {
  const std::string data = "archive bytes";
  m.files.AddFile(process.scriptPath, "[Components]\r\nComponent1.PackSHA256Checksum=" + std::string(64, '0') + "\r\n");
  AddComponent("data1", data);
  EXPECT_FALSE(RunDownload());
  EXPECT_EQ(errorPage, std::vector<std::string>{"SHA-256 checksum failed! (data1)"});
  EXPECT_TRUE(m.files.FileExists(std::string(kTemp) + "data1.dat"));

  errorPage.clear();
  m.files.AddFile(process.scriptPath, "[Components]\r\nComponent1.PackSHA256Checksum=" +
                                          LowerCase(Sha256Hex(data)) + "\r\n");
  EXPECT_TRUE(RunDownload());
}

TEST_F(PackageDownload, RetriesResumeWhenAskedForAndOnlyThen) {
  const std::string data(200000, 'r');
  AddComponent("data1", data);
  const std::string url = std::string(kSite) + "data1.dat";
  m.http = {};
  m.http.Serve(url, FakeHttpClient::Ok(data));  // the header
  FakeHttpClient::Answer dropped = FakeHttpClient::Ok(data);
  dropped.dropAfter = 70000;
  FakeHttpClient::Answer rest = FakeHttpClient::Ok(data);
  rest.honoursRange = true;
  m.http.Serve(url, dropped);
  m.http.Serve(url, rest);

  EXPECT_FALSE(RunDownload());  // documented: no retry
  EXPECT_EQ(errorPage, std::vector<std::string>{"Letöltési hiba!\r\n\nThe connection closed after 70000 of 200000 bytes"});

  m.http = {};
  m.http.Serve(url, FakeHttpClient::Ok(data));
  m.http.Serve(url, dropped);
  m.http.Serve(url, rest);
  m.files.AddFile(process.scriptPath, "[Configuration]\r\nDownloadRetries=2\r\n[Copy Files Page]\r\nDownloadFiles=Letöltés\r\n");
  ASSERT_TRUE(RunDownload());
  EXPECT_EQ(m.files.Contents(std::string(kCopy) + "data1.dat"), data);
  EXPECT_EQ(m.http.requests.back().resumeFrom, 70000);
  EXPECT_EQ(progress.statuses.back(), "Letöltés ( Komponens data1 ) - újrapróbálkozás 1/2, folytatás");
}

TEST_F(PackageDownload, NothingTakesPartNothingIsRequested) {
  AddComponent("data1", "x", /*checked=*/false);
  selection.components.back().size = 0;  // never listed
  selection.components.back().selected = true;
  ASSERT_TRUE(RunDownload());
  EXPECT_TRUE(m.http.requests.empty());
  EXPECT_EQ(progress.maximum, 1);  // selected and needing download, though not listed
}

TEST_F(PackageDownload, APackNameThatIsAPathIsRefusedBeforeAnyRequest) {
  for (const char* name : {"..\\..\\WINDOWS\\win", "sub/x", "C:x", ".."}) {
    SCOPED_TRACE(name);
    selection.components.clear();
    errorPage.clear();
    m.http = {};
    AddComponent(name, "evil");
    EXPECT_FALSE(RunDownload());
    EXPECT_TRUE(m.http.requests.empty());
    ASSERT_EQ(errorPage.size(), 1u);
    EXPECT_NE(errorPage[0].find("is not a file name"), std::string::npos);
  }
}

TEST_F(PackageDownload, AnUndeletableOldCopyFailsThePass) {
  AddComponent("data1", "new");
  AddComponent("data2", "second");
  m.files.AddFile(std::string(kCopy) + "data1.dat", "old");
  m.files.SetAttributes(std::string(kCopy) + "data1.dat", platform::kAttrReadOnly);
  // The stale copy must not be installed as if it were the update.
  EXPECT_FALSE(RunDownload());
  EXPECT_EQ(m.files.Contents(std::string(kCopy) + "data1.dat"), "old");
  EXPECT_EQ(m.files.Contents(std::string(kTemp) + "data1.dat"), "new");
  EXPECT_EQ(m.files.Contents(std::string(kCopy) + "data2.dat"), "second");  // the others still move
  ASSERT_EQ(errorPage.size(), 1u);
  EXPECT_EQ(errorPage[0].rfind("Letöltési hiba!\r\n\nA letöltött fájl nem helyezhető át ide: " + std::string(kCopy) +
                                   "data1.dat",
                               0),
            0u);
  ASSERT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(PackageDownload, AGetWritesNoMoreThanPackSize) {
  const std::string data(1000, 'a');
  AddComponent("data1", data);
  const std::string url = std::string(kSite) + "data1.dat";
  m.http = {};
  m.http.Serve(url, FakeHttpClient::Ok(data));  // the header announces PackSize
  FakeHttpClient::Answer longer = FakeHttpClient::Ok(data + std::string(200000, 'x'));
  longer.contentLength.reset();
  m.http.pieceSize = 300;
  m.http.Serve(url, longer);
  EXPECT_FALSE(RunDownload());
  EXPECT_EQ(errorPage, std::vector<std::string>{"Letöltési hiba!\r\n\nThe answer is longer than 1000 bytes"});
  EXPECT_LE(m.files.Contents(std::string(kTemp) + "data1.dat").value_or("").size(), data.size());
  EXPECT_FALSE(m.files.FileExists(std::string(kCopy) + "data1.dat"));
}

}  // namespace
}  // namespace ostravel::test
