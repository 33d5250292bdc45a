#include <filesystem>
#include <set>

#include "installer/dbserver/old_server_files.h"
#include "installer/platform/host/host_file_system.h"
#include "tests/unit/dbserver/server_fixture.h"
#include "tests/unit/test_support.h"

namespace ostravel::test {
namespace {

namespace fs = std::filesystem;
using namespace dbserver;

// On a real disk, so links are real: the clean-up of a set-aside server never
// reaches through them, and keeps what a person may need.
TEST(OlderInstallation, CleanUpKeepsDatabasesAndConfigurationAndStaysInsideTheFolder) {
  TempDir disk;
  platform::HostFileSystem files;
  files.MapDrive('C', disk.Str());

  const fs::path root(disk.Str());
  const fs::path old = root / "FB", outside = root / "Data";
  fs::create_directories(old / "bin");
  fs::create_directories(old / "UDF");
  fs::create_directories(outside / "keep");
  std::ofstream(old / "bin" / "fbserver.exe") << "MZ";
  std::ofstream(old / "security2.fdb") << "users";
  std::ofstream(old / "Aliases.conf") << "books = C:\\Data\\books.fdb";
  std::ofstream(old / "bin" / "nightly.FBK") << "backup";
  std::ofstream(old / "UDF" / "fbudf.dll") << "MZ";
  std::ofstream(outside / "keep" / "books.fdb") << "customer data";
  std::ofstream(outside / "keep" / "notes.txt") << "customer notes";
  fs::create_directory_symlink(outside, old / "linked");
  fs::create_symlink(outside / "keep" / "notes.txt", old / "bin" / "notes.txt");
  fs::create_symlink(root / "gone", old / "dangling");
  files.SetAttributes("C:\\FB\\bin\\fbserver.exe", platform::kAttrReadOnly);

  const std::vector<std::string> kept = KeepOnlyWhatMatters(files, "C:\\FB\\");
  std::vector<std::string> expected{"C:\\FB\\Aliases.conf", "C:\\FB\\bin\\nightly.FBK", "C:\\FB\\security2.fdb"};
  EXPECT_EQ(std::set<std::string>(kept.begin(), kept.end()), std::set<std::string>(expected.begin(), expected.end()));
  EXPECT_FALSE(fs::exists(old / "bin" / "fbserver.exe"));
  EXPECT_FALSE(fs::exists(old / "UDF"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(old / "linked")));
  EXPECT_EQ(disk.Read("Data/keep/books.fdb"), "customer data");
  EXPECT_EQ(disk.Read("Data/keep/notes.txt"), "customer notes");

  // Nothing kept: the folder goes too. A drive root or a link is never cleaned.
  fs::create_directories(root / "Empty" / "bin");
  EXPECT_TRUE(KeepOnlyWhatMatters(files, "C:\\Empty").empty());
  EXPECT_FALSE(fs::exists(root / "Empty"));
  fs::create_directory_symlink(outside, root / "Link");
  EXPECT_TRUE(KeepOnlyWhatMatters(files, "C:\\Link").empty());
  EXPECT_TRUE(fs::exists(root / "Link" / "keep" / "notes.txt"));
}

TEST(OlderInstallation, AsideFolderIsBesideTheBaseFolderAndNew) {
  platform::MemoryFileSystem files;
  const DateTime now{2026, 3, 7, 9, 5, 1, 0};
  EXPECT_EQ(AsideFolderFor(files, "C:\\PF\\FireBird\\Firebird_2_5\\", now), "C:\\PF\\FireBird-backup-20260307-090501");
  files.CreateDirectories("C:\\PF\\FireBird-backup-20260307-090501");
  files.CreateDirectories("C:\\PF\\FireBird-backup-20260307-090501-2");
  EXPECT_EQ(AsideFolderFor(files, "C:\\PF\\FireBird\\Firebird_2_5", now), "C:\\PF\\FireBird-backup-20260307-090501-3");
  for (const char* name : {"security2.fdb", "ISC4.GDB", "x.ib", "y.gbk", "databases.conf", "firebird.conf"})
    EXPECT_TRUE(KeptFromOldServer(name)) << name;
  for (const char* name : {"fbserver.exe", "firebird.log", "fdb", "aliases.conf.bak", "firebird.msg"})
    EXPECT_FALSE(KeptFromOldServer(name)) << name;
}

}  // namespace
}  // namespace ostravel::test
