#include "installer/dbserver/app_ini_defaults.h"
#include "installer/dbserver/config_file.h"
#include "installer/dbserver/server_preparation.h"
#include "installer/dbserver/server_registry.h"
#include "base/text.h"
#include "tests/unit/dbserver/server_fixture.h"

namespace ostravel::test {
namespace {

using namespace dbserver;

constexpr const char* kSetup = "\"C:\\TEMP\\Firebird-2.5.4.26856_0_Win32.exe\"";
constexpr const char* kConf = "#\r\n#CpuAffinityMask = 1\r\n# GCPolicy = combined\r\nRemoteServicePort = 3050\r\n";

class Preparation : public ServerFixture {
 protected:
  std::vector<std::string> extracted;
  void SetUp() override {
    ServerFixture::SetUp();
    ctx.extract = [this](const std::string& archive, const std::string& folder) {
      extracted.push_back(archive + ">" + folder);
      m.files.AddFile(std::string(kSetup).substr(1, std::string(kSetup).size() - 2), "MZ");
      return true;
    };
    AddArchive();
  }
  // The setup lays out a server of the given version and ends with `code`.
  void SetupLeaves(platform::VersionRecord version, int code) {
    m.system.exitCodes[kSetup] = code;
    m.system.onRun = [this, version](const std::string&, const std::string&) {
      AddServer(kFolder, "fbserver.exe", version);
      m.files.AddFile(std::string(kFolder) + "firebird.conf", kConf);
      m.registry.Set(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Firebird", "x");
    };
  }
};

TEST_F(Preparation, UpgradeRemovesOldServerRunsSetupAndConfiguresTheNewOne) {
  AddServer(kFolder, "fbserver.exe", Version(2, 5, 2, 26540));
  m.files.AddFile(std::string(kFolder) + "bin\\old.dll", "");
  Service(kServerService, platform::kStartAutomatic, true);
  const std::string layers = kLayersKey;
  m.registry.Set(RootKey::CurrentUser, layers, "C:\\x\\bin\\fbserver.exe", "WINXPSP3");
  m.registry.Set(RootKey::CurrentUser, layers, "C:\\y\\bin\\FBSERVER.EXE", "WINXPSP3");  // the test is case-sensitive
  server.serverFolder = kFolder;
  server.installServer = true;
  SetupLeaves(Version(2, 5, 4, 26856), 0);

  EXPECT_TRUE(PrepareServer(ctx, false, ""));
  EXPECT_TRUE(jumps.empty());
  EXPECT_FALSE(m.files.FileExists(std::string(kFolder) + "bin\\old.dll"));
  EXPECT_EQ(m.services.services[kServerService].config.startType, platform::kStartDisabled);
  EXPECT_EQ(extracted, std::vector<std::string>{"D:\\Setup\\firebird.dat>C:\\TEMP\\"});
  ASSERT_EQ(m.system.ran.size(), 1u);
  EXPECT_TRUE(StartsWith(m.system.ran[0], std::string(kSetup) + " /SP- "));
  EXPECT_EQ(*m.files.Contents(std::string(kFolder) + "firebird.conf"),
            "#\r\nCpuAffinityMask = 255\r\nGCPolicy = background\r\nRemoteServicePort = 3050\r\n");
  EXPECT_EQ(m.registry.Get(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Firebird"),
            nullptr);
  EXPECT_EQ(m.registry.Get(RootKey::LocalMachine, kInstancesKey, kDefaultInstance)->text, kFolder);
  EXPECT_EQ(m.registry.Get(RootKey::CurrentUser, layers, "C:\\x\\bin\\fbserver.exe"), nullptr);
  EXPECT_NE(m.registry.Get(RootKey::CurrentUser, layers, "C:\\y\\bin\\FBSERVER.EXE"), nullptr);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Preparation, AServerThatCannotBeStoppedKeepsItsFolder) {
  AddServer(kFolder, "fbserver.exe", Version(2, 5, 2, 26540));
  m.windows.windows.push_back({"FB_Server", platform::FakeDesktopWindows::OnClose::Refuses, ""});
  Service(kGuardianService, platform::kStartAutomatic, true);
  server.serverFolder = kFolder;
  server.installServer = true;
  EXPECT_FALSE(PrepareServer(ctx, false, ""));
  EXPECT_EQ(jumps, std::vector<std::string>{kCannotStopFirebird});
  EXPECT_TRUE(m.files.FileExists(std::string(kFolder) + "bin\\fbserver.exe"));
  EXPECT_TRUE(m.system.ran.empty());
  // What the stop took is running again.
  EXPECT_TRUE(m.services.services[kGuardianService].running);
  EXPECT_EQ(m.services.services[kGuardianService].config.startType, platform::kStartAutomatic);
}

TEST_F(Preparation, SetupExitCodesAndVerification) {
  const std::string codeBox = "Hiba történt a FireBird 2.5.4.26856 kiszolgálóalkalmazás telepítése közben! Hibakód: ";
  struct Case {
    int code;
    platform::VersionRecord leaves;
    bool silent, ok;
    std::vector<std::string> boxes;
    int exitCode;
  } cases[] = {
      {32767, Version(2, 5, 4, 26856), false, true, {}, 0},
      {0, Version(2, 5, 4, 26856), false, true, {}, 0},
      {5, Version(2, 5, 4, 26856), false, true, {codeBox + "5"}, 0},
      {5, Version(2, 5, 4, 26856), true, true, {}, 1},
      {0, Version(2, 5, 2, 26540), false, false, {kServerSetupFailed}, 0},
      {5, Version(2, 5, 2, 26540), false, false, {codeBox + "5"}, 0},
      {0, Version(2, 5, 2, 26540), true, false, {}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + (c.silent ? " silent" : ""));
    dialogs.shown.clear();
    jumps.clear();
    process.switches.silent = c.silent;
    process.exitCode = 0;
    server.installServer = true;
    server.serverFolder.clear();
    SetupLeaves(c.leaves, c.code);
    EXPECT_EQ(PrepareServer(ctx, true, "C:\\TEMP\\Download"), c.ok);
    std::vector<std::string> boxes;
    for (const auto& shown : dialogs.shown) boxes.push_back(shown.text);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(jumps.size(), c.ok ? 0u : 1u);
    EXPECT_EQ(process.exitCode, c.exitCode);
    EXPECT_EQ(extracted.back(), "C:\\TEMP\\Download\\firebird.dat>C:\\TEMP\\");
  }
}

TEST_F(Preparation, DefaultInstanceIsWrittenOnlyForA25FolderFound) {
  // A 2.1 server kept (no archive), then a setup that cannot start: nothing blanks it.
  m.registry.Set(RootKey::LocalMachine, kInstancesKey, kDefaultInstance, "D:\\FB21\\");
  for (bool install : {false, true}) {
    SCOPED_TRACE(install);
    jumps.clear();
    server.installServer = install;
    EXPECT_EQ(PrepareServer(ctx, false, ""), !install);
    EXPECT_EQ(jumps, install ? std::vector<std::string>{kServerSetupFailed} : std::vector<std::string>{});
    EXPECT_EQ(m.registry.Get(RootKey::LocalMachine, kInstancesKey, kDefaultInstance)->text, "D:\\FB21\\");
  }
}

TEST_F(Preparation, ConfigurationEditOfOddFiles) {
  const std::string folder = "C:\\FB";
  struct Case {
    std::string before, after;
  } cases[] = {
      {"", ""},
      {"GCPolicy = cooperative", "GCPolicy = background\r\n"},  // no line end
      {std::string("\0\x01\xff GCPolicy\r\n", 12), std::string("\0\x01\xff GCPolicy\r\n", 12)},
      {"a\nGCPolicy = background\nb", "a\nGCPolicy = background\nb"},  // already right: not rewritten
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    m.files.AddFile(folder + "\\firebird.conf", c.before, 0x50000000);
    EXPECT_TRUE(EditConfigurationKey(m.files, folder, "GCPolicy", "background"));
    EXPECT_EQ(*m.files.Contents(folder + "\\firebird.conf"), c.after);
    if (c.before == c.after) {
      EXPECT_EQ(m.files.Find(folder + "\\firebird.conf")->dosTime, 0x50000000u);
    }
  }
  EXPECT_FALSE(EditConfigurationKey(m.files, "C:\\none", "GCPolicy", "background"));
}

TEST_F(Preparation, ApplicationIniDefaults) {
  WriteApplicationIniDefaults(ctx, true, false);
  EXPECT_FALSE(m.files.DirectoryExists("C:\\BELLORO.WIN"));

  WriteApplicationIniDefaults(ctx, true, true);
  const std::string connection = "Path=C:\\BELLORO.WIN\\2020\r\nUserName=Tq8KMzpe\r\nPassWord=RWHaFkmuQnLx\r\n";
  EXPECT_EQ(*m.files.Contents("C:\\BELLORO.WIN\\2020\\startinf.ini"), "[Local InterBase]\r\n" + connection + "\r\n");
  EXPECT_EQ(*m.files.Contents("C:\\BELLORO.WIN\\2020\\korb2020.ini"),
            "[Local InterBase]\r\nUse=1\r\n" + connection + "\r\n");

  // Last year's ini stops the new one; an existing start ini stays as it is.
  m.files.DeleteFile("C:\\BELLORO.WIN\\2020\\korb2020.ini");
  m.files.AddFile("C:\\BELLORO.WIN\\2019\\korb2019.ini", "");
  m.files.AddFile("C:\\BELLORO.WIN\\2020\\startinf.ini", "mine");
  WriteApplicationIniDefaults(ctx, true, true);
  EXPECT_FALSE(m.files.FileExists("C:\\BELLORO.WIN\\2020\\korb2020.ini"));
  EXPECT_EQ(*m.files.Contents("C:\\BELLORO.WIN\\2020\\startinf.ini"), "mine");
}

}  // namespace
}  // namespace ostravel::test
