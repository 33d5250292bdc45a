#include "installer/dbserver/admin_rights.h"
#include "installer/dbserver/detection.h"
#include "installer/dbserver/version_tests.h"
#include "tests/unit/dbserver/server_fixture.h"

namespace ostravel::test {
namespace {

using namespace dbserver;
using Detection = ServerFixture;

TEST_F(Detection, VersionTestsCompareAsText) {
  struct Case {
    platform::VersionRecord version;
    bool older, differs;
  } cases[] = {
      {Version(2, 5, 2, 26540), true, true},
      {Version(2, 5, 4, 26856), false, false},
      {Version(2, 5, 10, 0), true, true},  // "2.5.1..." sorts before "2.5.4..."
      {Version(3, 0, 0, 1), false, true},
      {platform::VersionRecord{}, false, false},  // no readable resource
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(VersionText(c.version));
    AddServer(kFolder, "fbserver.exe", c.version);
    std::string found;
    EXPECT_EQ(OlderThanTarget(m.platform, kFolder), c.older);
    EXPECT_EQ(DiffersFromTarget(m.platform, kFolder, found), c.differs);
  }
  // The classic server program is the one asked, whatever fbserver.exe says.
  AddServer(kFolder, "fb_inet_server.exe", Version(2, 5, 4, 26856));
  m.system.versions[std::string(kFolder) + "bin\\fbserver.exe"] = Version(2, 1, 0, 0);
  EXPECT_FALSE(OlderThanTarget(m.platform, kFolder));
}

TEST_F(Detection, FolderSearchTakesFirstMatchingFolderInListingOrder) {
  m.files.AddFile(std::string(kBase) + "\\readme.txt", "not a folder");
  m.files.CreateDirectories(std::string(kBase) + "\\A_empty");
  AddServer(std::string(kBase) + "\\B_old\\", "fb_inet_server.exe", Version(2, 1, 3, 0));
  AddServer(kFolder, "fbserver.exe", Version(2, 5, 2, 26540));

  // Any version: the first folder, server or not.
  EXPECT_EQ(SearchServerFolder(ctx, 0, 0), std::string(kBase) + "\\A_empty\\");
  EXPECT_FALSE(server.classicServer);
  // Version 2.5: the classic server of an earlier folder still marks the machine.
  EXPECT_EQ(SearchServerFolder(ctx, 2, 5), kFolder);
  EXPECT_TRUE(server.classicServer);
  EXPECT_EQ(SearchServerFolder(ctx, 3, 0), "");
}

TEST_F(Detection, EmptyBaseFolderFindsNothingWhateverTheRegistrySays) {
  m.files.CreateDirectories(kBase);
  AddServer("D:\\FB\\", "fbserver.exe", Version(2, 5, 2, 26540));
  EXPECT_EQ(SearchServerFolder(ctx, 0, 0), "");
  EXPECT_TRUE(ServerInstalled(m.platform));  // through the registered default instance
}

TEST_F(Detection, InstalledTestFirstHitDecides) {
  EXPECT_FALSE(ServerInstalled(m.platform));
  // A default instance of 2,000 characters, or one naming a file, finds nothing.
  for (std::string instance : {std::string(2000, 'x'), std::string("C:\\boot.ini")}) {
    m.files.AddFile("C:\\boot.ini", "");
    m.registry.Set(RootKey::LocalMachine, kInstancesKey, kDefaultInstance, instance);
    EXPECT_FALSE(ServerInstalled(m.platform));
  }
  AddServer("D:\\FB\\", "fb_inet_server.exe", Version(2, 5, 4, 26856));
  EXPECT_TRUE(ServerInstalled(m.platform));
  // An InterBase directory without ibserver.exe ends the test before Firebird's key.
  m.registry.Set(RootKey::LocalMachine, kInterBaseKey, "ServerDirectory", "C:\\IB");
  EXPECT_FALSE(ServerInstalled(m.platform));
  m.files.AddFile("C:\\IB\\ibserver.exe", "MZ");
  EXPECT_TRUE(ServerInstalled(m.platform));
}

TEST_F(Detection, InstalledTestWalksTheStandardFolder) {
  m.files.AddFile(std::string(kBase) + "\\X\\bin\\fbguard.exe", "MZ");
  EXPECT_TRUE(ServerInstalled(m.platform));
  m.files.DeleteFile(std::string(kBase) + "\\X\\bin\\fbguard.exe");
  m.files.AddFile(std::string(kBase) + "\\bin\\fbserver.exe", "MZ");  // the "." entry
  EXPECT_TRUE(ServerInstalled(m.platform));
}

TEST_F(Detection, SixtyFourBitChoice) {
  const char* x86 = "C:\\Program Files (x86)";
  struct Case {
    bool wow64;
    const char* programs;
    const char* instance;
    bool want;
  } cases[] = {
      {false, x86, "", false},
      {true, x86, "C:\\Program Files (x86)\\Firebird\\Firebird_2_5\\", false},
      {true, x86, "", true},
      {true, x86, "C:\\Program Files\\Firebird\\Firebird_2_5\\", true},
      {true, "", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.instance) + (c.wow64 ? " wow64" : ""));
    m.system.wow64 = c.wow64;
    m.registry.Set(RootKey::LocalMachine, kWindowsVersionKey, "ProgramFilesDir", c.programs);
    m.registry.Set(RootKey::LocalMachine, kWindowsVersionKey, "ProgramFilesDir (x86)", c.programs);
    m.registry.Set(RootKey::LocalMachine, kInstancesKey, kDefaultInstance, c.instance);
    EXPECT_EQ(Use64BitServer(m.platform), c.want);
  }
}

TEST_F(Detection, RightsTestIsWhetherTheMachineKeysAreWritable) {
  EXPECT_TRUE(HasAdminRights(m.registry));
  EXPECT_TRUE(m.registry.KeyExists(RootKey::LocalMachine, kInstancesKey, platform::RegView::Wow32));
  EXPECT_FALSE(m.registry.KeyExists(RootKey::LocalMachine, kInterBaseKey, platform::RegView::Wow32));
  platform::FakeRegistry standardUser;
  standardUser.DenyWrites(RootKey::LocalMachine);
  EXPECT_FALSE(HasAdminRights(standardUser));
}

}  // namespace
}  // namespace ostravel::test
