#include <filesystem>

#include "installer/dbserver/older_installation.h"
#include "installer/platform/host/host_file_system.h"
#include "tests/unit/dbserver/server_fixture.h"
#include "tests/unit/test_support.h"

namespace ostravel::test {
namespace {

namespace fs = std::filesystem;
using namespace dbserver;

// On a real disk, so links are real: the removal never reaches through them.
TEST(OlderInstallation, RemovalStaysInsideTheFolderAndDeletesReadOnlyFiles) {
  TempDir disk;
  platform::HostFileSystem files;
  files.MapDrive('C', disk.Str());
  platform::FakeMachine fakes;
  platform::Platform machine{files, fakes.registry, fakes.system, fakes.shell, fakes.fonts, fakes.http, fakes.services, fakes.windows};

  const fs::path root(disk.Str());
  const fs::path old = root / "FB", outside = root / "Data";
  fs::create_directories(old / "bin");
  fs::create_directories(outside / "keep");
  std::ofstream(old / "bin" / "fbserver.exe") << "MZ";
  std::ofstream(old / "security2.fdb") << "db";
  std::ofstream(outside / "keep" / "books.fdb") << "customer data";
  fs::create_directory_symlink(outside, old / "linked");
  fs::create_symlink(outside / "keep" / "books.fdb", old / "bin" / "books.fdb");
  fs::create_symlink(root / "gone", old / "dangling");
  files.SetAttributes("C:\\FB\\security2.fdb", platform::kAttrReadOnly);
  fakes.system.versions["C:\\FB\\bin\\fbserver.exe"] = Version(2, 1, 5, 0);
  fakes.registry.Set(RootKey::LocalMachine, kInstancesKey, kDefaultInstance, "C:\\FB\\");

  // An equal or newer server is not an older installation.
  EXPECT_FALSE(RemoveOlderInstallation(machine, "C:\\FB\\", "2.1.5.0"));
  EXPECT_TRUE(fs::exists(old / "bin" / "fbserver.exe"));

  EXPECT_TRUE(RemoveOlderInstallation(machine, "C:\\FB\\", kTargetVersion));
  EXPECT_FALSE(fs::exists(fs::symlink_status(old)));
  EXPECT_EQ(disk.Read("Data/keep/books.fdb"), "customer data");

  // Refused outright: a blank folder or a drive root.
  EXPECT_FALSE(files.DeleteTree(""));
  EXPECT_FALSE(files.DeleteTree("C:\\"));
  EXPECT_TRUE(fs::exists(outside / "keep"));
}

}  // namespace
}  // namespace ostravel::test
