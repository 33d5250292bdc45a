#include "startup/work_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace ostravel::startup {
namespace {

// Folders of a pretend machine: drives C: and D: exist, D: is read-only.
struct FakeFolders {
  std::set<std::string> folders{"C:\\", "C:\\Windows", "C:\\Temp", "D:\\"};
  std::vector<std::string> created;

  FolderOps Ops() {
    return FolderOps{
        [this](const std::string& p) { return folders.count(p) > 0 || folders.count(p + "\\") > 0; },
        [this](const std::string& p) {
          if (p.rfind("C:\\", 0) != 0) return false;
          const size_t slash = p.find_last_of('\\');
          const std::string parent = p.substr(0, slash);
          if (!folders.count(parent) && !folders.count(parent + "\\")) return false;
          folders.insert(p);
          created.push_back(p);
          return true;
        }};
  }
};

TEST(WorkFolder, FreshFolderTakesTheSmallestFreeNumber) {
  FakeFolders fs;
  auto exists = fs.Ops().exists;
  EXPECT_EQ(FindFreshFolder("C:\\Temp\\", exists), "C:\\Temp\\Ostravel0");
  fs.folders.insert("C:\\Temp\\Ostravel0");
  fs.folders.insert("C:\\Temp\\Ostravel1");
  fs.folders.insert("C:\\Temp\\Ostravel3");
  EXPECT_EQ(FindFreshFolder("C:\\Temp\\", exists), "C:\\Temp\\Ostravel2");
}

TEST(WorkFolder, WinDriveTakesTheWindowsDriveLetterOnce) {
  EXPECT_EQ(ExpandWinDrive("$WinDrive$:\\Lumbra", "E:\\WINDOWS"), "E:\\Lumbra");
  EXPECT_EQ(ExpandWinDrive("$WinDrive$:\\$WinDrive$", "C:\\Windows"), "C:\\$WinDrive$");
  EXPECT_EQ(ExpandWinDrive("$windrive$:\\x", "C:\\Windows"), "$windrive$:\\x");
  EXPECT_EQ(ExpandWinDrive("D:\\Work", "C:\\Windows"), "D:\\Work");
}

TEST(WorkFolder, ForceFoldersCreatesMissingParentsTopDown) {
  FakeFolders fs;
  EXPECT_TRUE(ForceFolders("C:\\Lumbra\\Setup\\2024\\", fs.Ops()));
  EXPECT_EQ(fs.created, (std::vector<std::string>{"C:\\Lumbra", "C:\\Lumbra\\Setup", "C:\\Lumbra\\Setup\\2024"}));
  EXPECT_TRUE(ForceFolders("Q:", fs.Ops()));  // two characters count as existing
  EXPECT_FALSE(ForceFolders("Q:\\Lumbra", fs.Ops()));
}

TEST(WorkFolder, ChoosesCopyTargetOrFreshFolder) {
  struct Case {
    const char* enabled;
    const char* target;
    const char* expected;
  } cases[] = {
      {"1", "$WinDrive$:\\Lumbra", "C:\\Lumbra\\"},
      {"1", "C:\\Temp\\", "C:\\Temp\\"},
      {"1", "Q:\\Lumbra", "C:\\Temp\\Ostravel0\\"},   // missing drive
      {"1", "D:\\Lumbra", "C:\\Temp\\Ostravel0\\"},   // cannot create there
      {"1", "", "C:\\Temp\\Ostravel0\\"},
      {"0", "C:\\Lumbra", "C:\\Temp\\Ostravel0\\"},
      {"", "C:\\Lumbra", "C:\\Temp\\Ostravel0\\"},
      {"1 ", "C:\\Lumbra", "C:\\Temp\\Ostravel0\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.enabled) + " " + c.target);
    FakeFolders fs;
    const std::string chosen =
        ChooseWorkFolder({c.enabled, c.target, "C:\\Windows", "C:\\Temp\\Ostravel0"}, fs.Ops());
    EXPECT_EQ(chosen, c.expected);
    EXPECT_TRUE(fs.Ops().exists(chosen.substr(0, chosen.size() - 1))) << "the chosen folder is created";
  }
}

}  // namespace
}  // namespace ostravel::startup
