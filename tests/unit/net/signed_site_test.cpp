#include "base/base64.h"
#include "base/installer_error.h"
#include "installer/net/update_script.h"
#include "tests/unit/net/net_fixture.h"
#include "tools/media/site_signing.h"

namespace ostravel::test {
namespace {

using platform::FakeHttpClient;

const media::SigningKeyPair& MediumKey() {
  static const media::SigningKeyPair key = media::GenerateSigningKey();
  return key;
}

class SignedSite : public NetTest {
 protected:
  SignedSite() {
    web.updateSigningKey = Base64Encode(MediumKey().publicPoint);
    web.updateSignatureFailed = "Aláírás hiba!";
  }
  std::string Url(const char* name) { return std::string(kSite) + name; }
  static std::string SignatureFile(const std::string& privatePem, const std::string& script) {
    return Base64Encode(media::SignMessage(privatePem, script)) + "\r\n";
  }
};

TEST_F(SignedSite, TheUpdateScriptIsUsedOnlyWhenTheMediumsKeySignedIt) {
  const std::string script = "[Configuration]\r\nRqInstallerVersion=1.0\r\n";
  // Signed by another key, and naming that key: a downloaded script's key counts for nothing.
  const media::SigningKeyPair other = media::GenerateSigningKey();
  const std::string impostor = script + "UpdateSigningKey=" + Base64Encode(other.publicPoint) + "\r\n";
  const std::string good = SignatureFile(MediumKey().privatePem, script);
  std::string raw = media::SignMessage(MediumKey().privatePem, script);
  raw[10] = char(raw[10] ^ 0x04);
  struct Case {
    const char* name;
    std::string served;
    std::optional<FakeHttpClient::Answer> signature;  // nullopt: 404
    std::string reason;                               // empty: accepted
    std::string mediumKey = Base64Encode(MediumKey().publicPoint);
  } cases[] = {
      {"good", script, FakeHttpClient::Ok(good), ""},
      {"missing", script, std::nullopt, "Az aláírás nem tölthető le"},
      {"empty", script, FakeHttpClient::Ok(""), "formája hibás"},
      {"truncated", script, FakeHttpClient::Ok(good.substr(0, 80)), "formája hibás"},
      {"not base64", script, FakeHttpClient::Ok("<html>404</html>"), "formája hibás"},
      {"bit flipped", script, FakeHttpClient::Ok(Base64Encode(raw)), "nem a letöltött frissítés aláírása"},
      {"script changed after signing", script + "[Files]\r\n", FakeHttpClient::Ok(good),
       "nem a letöltött frissítés aláírása"},
      {"other key", impostor, FakeHttpClient::Ok(SignatureFile(other.privatePem, impostor)),
       "nem a letöltött frissítés aláírása"},
      {"oversized", script, FakeHttpClient::Ok(good + std::string(5000, ' ')), "longer than 4096 bytes"},
      {"medium key malformed", script, FakeHttpClient::Ok(good), "UpdateSigningKey kulcsa hibás", "BHkz/IE4"},
      {"no key on the medium: as ever", script, std::nullopt, "", ""},
  };
  for (const auto& t : cases) {
    for (bool silent : {false, true}) {
      SCOPED_TRACE(std::string(t.name) + (silent ? " silent" : ""));
      m.http = {};
      dialogs.shown.clear();
      process = {};
      process.scriptPath = "D:\\Setup\\setup.inf";
      process.switches.silent = silent;
      web.updateSigningKey = t.mediumKey;
      m.http.Serve(Url("download.inf"), FakeHttpClient::Ok(t.served));
      m.http.Serve(Url("download.inf.sig"), t.signature ? *t.signature : FakeHttpClient::Status(404, "Not Found"));
      if (t.reason.empty()) {
        EXPECT_EQ(net::DownloadUpdateScript(Net(), web), std::string(kTemp) + "download.inf");
        EXPECT_EQ(process.scriptPath, std::string(kTemp) + "download.inf");
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(m.http.requests.size(), t.mediumKey.empty() ? 1u : 2u);  // no signature asked for without a key
        continue;
      }
      try {
        net::DownloadUpdateScript(Net(), web);
        ADD_FAILURE() << "accepted";
      } catch (const InstallerError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Aláírás hiba!\r\n\r\n", 0), 0u) << e.what();
        EXPECT_NE(std::string(e.what()).find(t.reason), std::string::npos) << e.what();
      }
      EXPECT_EQ(process.scriptPath, "D:\\Setup\\setup.inf");
      EXPECT_FALSE(m.files.FileExists(std::string(kTemp) + "download.inf"));
      EXPECT_EQ(process.exitCode, silent ? 1 : 0);
      ASSERT_EQ(dialogs.shown.size(), silent ? 0u : 1u);
      if (!silent) {
        EXPECT_EQ(dialogs.shown[0].text.rfind("Aláírás hiba!\r\n\n", 0), 0u);
      }
    }
  }
}

TEST_F(SignedSite, EveryArchiveNeedsAMatchingSha256) {
  const std::string data = "archive bytes";
  struct Case {
    const char* name;
    const char* pack;
    std::string sha256;  // PackSHA256Checksum; empty: not given
    bool installed;
    std::string error;
  } cases[] = {
      {"matching", "data1", Sha256Hex(data), true, ""},
      {"matching websetup", "websetup", LowerCase(Sha256Hex(data)), true, ""},
      {"MD5 alone", "data1", "", false, "nincs SHA-256"},
      {"websetup on MD5 alone", "websetup", "", false, "nincs SHA-256"},
      {"not a digest", "data1", "abc", false, "nincs SHA-256"},
      {"swapped archive", "data1", Sha256Hex("the signed archive"), false, "SHA-256 checksum failed! (data1)"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.name);
    m.files = {};
    m.http = {};
    errorPage.clear();
    selection.components.clear();
    m.files.AddFile(process.scriptPath, "[Components]\r\nComponent1.PackSHA256Checksum=" + t.sha256 + "\r\n");
    AddComponent(t.pack, data);
    EXPECT_EQ(RunDownload(), t.installed);
    EXPECT_EQ(m.files.FileExists(std::string(kCopy) + t.pack + ".dat"), t.installed);
    if (t.installed) continue;
    ASSERT_EQ(errorPage.size(), 1u);
    EXPECT_NE(errorPage[0].find(t.error), std::string::npos) << errorPage[0];
    EXPECT_EQ(m.http.requests.empty(), t.error == "nincs SHA-256");  // what cannot be vouched for is not fetched
  }
}

TEST_F(SignedSite, ALocalCopyIsCurrentOnlyWhenItsSha256MatchesToo) {
  const std::string data = "new archive";
  m.files.AddFile(process.scriptPath, "[Components]\r\nComponent1.PackSHA256Checksum=" + Sha256Hex(data) + "\r\n");
  auto& c = AddComponent("data1", data);
  // Description files agree and the MD5 is the described one, but the bytes differ.
  m.files.AddFile(std::string(kCopy) + "data1.dat", "planted copy");
  c.packChecksum = Md5Hex("planted copy");
  for (const char* folder : {kCopy, kTemp})
    m.files.AddFile(std::string(folder) + "data1.dat.inf", "Last-Modified: Tue, 08 Dec 2026 09:00:00 GMT\r\n");
  EXPECT_FALSE(RunDownload());  // downloaded again; the real archive fails the described MD5
  EXPECT_EQ(m.http.requests.back().method, "GET");

  web.updateSigningKey.clear();  // unsigned: the documented freshness test keeps the copy
  errorPage.clear();
  m.http.requests.clear();
  EXPECT_TRUE(RunDownload());
  EXPECT_EQ(m.http.requests.size(), 1u);
}

}  // namespace
}  // namespace ostravel::test
