#include "installer/engine/archive_paths.h"

#include <gtest/gtest.h>

namespace ostravel::engine {
namespace {

TEST(ArchivePaths, TargetOfAStoredName) {
  struct Case {
    const char* destination;
    bool fullPath;
    const char* stored;
    const char* target;
  } cases[] = {
      {"", false, "E:\\App\\x.dll", "E:\\App\\x.dll"},
      {"", true, "E:\\App\\x.dll", "E:\\App\\x.dll"},
      {"D:\\T\\", false, "E:\\App\\bin\\x.dll", "D:\\T\\x.dll"},
      {"D:\\T\\", false, "x.dll", "D:\\T\\x.dll"},
      {"D:\\T\\", false, "E:x.dll", "D:\\T\\x.dll"},
      {"D:\\T\\", true, "E:\\App\\bin\\x.dll", "D:\\T\\App\\bin\\x.dll"},
      {"D:\\T\\", true, "E:\\App/bin/x.dll", "D:\\T\\App/bin/x.dll"},
      // Full paths that would leave the destination land on the destination itself.
      {"D:\\T\\", true, "C:\\..\\evil", "D:\\T\\"},
      {"D:\\T\\", true, "C:\\a\\..\\..\\evil", "D:\\T\\"},
      {"D:\\T\\", true, "C:\\\\server\\share", "D:\\T\\"},
      {"D:\\T\\", true, "C:\\F:\\x", "D:\\T\\"},
      {"D:\\T\\", true, "C:\\", "D:\\T\\"},
      {"D:\\T\\", true, "C:", "D:\\T\\"},
      {"D:\\T\\", true, "C:\\a..b\\x", "D:\\T\\a..b\\x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.stored) + (c.fullPath ? " full path" : ""));
    EXPECT_EQ(MemberTargetPath(c.destination, c.fullPath, c.stored), c.target);
  }
}

TEST(ArchivePaths, FolderATargetNeeds) {
  struct Case {
    const char *target, *folder;
  } cases[] = {
      {"C:\\a\\b.txt", "C:\\a\\"}, {"C:b.txt", "C:"}, {"b.txt", ""}, {"C:\\a\\", "C:\\a\\"}, {"a/b", "a/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(MemberFolder(c.target), c.folder);
  }
}

TEST(ArchivePaths, RestoreModesAgainstTheExistingFile) {
  const std::optional<int32_t> missing, older = 100, same = 200, newer = 300, negative = -5;
  struct Case {
    TRestoreMode mode;
    std::optional<int32_t> existing;
    bool written;
  } cases[] = {
      {rmAll, missing, true},         {rmAll, newer, true},           {rmNoOverwrite, missing, true},
      {rmNoOverwrite, older, false},  {rmNewer, missing, true},       {rmNewer, older, true},
      {rmNewer, same, false},         {rmNewer, newer, false},        {rmNewer, negative, true},
      {rmExisting, missing, false},   {rmExisting, newer, true},      {rmExistingNewer, missing, false},
      {rmExistingNewer, older, true}, {rmExistingNewer, same, false}, {rmExistingNewer, newer, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " existing " << c.existing.value_or(-1));
    EXPECT_EQ(RestoreDecision(c.mode, c.existing, 200), c.written);
  }
}

}  // namespace
}  // namespace ostravel::engine
