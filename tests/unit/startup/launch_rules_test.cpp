#include "startup/launch_rules.h"

#include <gtest/gtest.h>

namespace ostravel::startup {
namespace {

TEST(LaunchRules, SpaceMinMBReadsSignAndLeadingDigits) {
  struct Case {
    const char* text;
    int64_t mb;
  } cases[] = {
      {"", 0}, {"abc", 0}, {"-", 0}, {"20", 20}, {"20MB", 20}, {" 20", 0}, {"-5", -5},
      {"4096", 4096}, {"+5", 0}, {"99999999999999999999999999", INT64_MAX / 1048576},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseSpaceMinMB(c.text), c.mb);
  }
}

TEST(LaunchRules, MinimumFreeSpaceIsComputedWithoutWrapping) {
  EXPECT_EQ(MinimumFreeBytes(20), 20 * 1048576LL);
  EXPECT_EQ(MinimumFreeBytes(4096), 4096LL * 1048576);  // 4 GB: would be 0 in 32 bits
  EXPECT_EQ(MinimumFreeBytes(5000), 5000LL * 1048576);
  EXPECT_EQ(MinimumFreeBytes(-1), 0);
  EXPECT_GT(MinimumFreeBytes(ParseSpaceMinMB("99999999999999999999")), 0);

  const uint64_t free3GB = 3ULL << 30;
  EXPECT_TRUE(SpaceRefused("1", free3GB, MinimumFreeBytes(4096)));
  EXPECT_FALSE(SpaceRefused("1", free3GB, MinimumFreeBytes(3072)));  // exactly enough
  EXPECT_TRUE(SpaceRefused("1", free3GB, MinimumFreeBytes(3073)));
  EXPECT_FALSE(SpaceRefused("1", 0, MinimumFreeBytes(-100)));  // negative asks for nothing
  EXPECT_FALSE(SpaceRefused("0", 0, MinimumFreeBytes(10)));
  EXPECT_FALSE(SpaceRefused("1 ", 0, MinimumFreeBytes(10)));
  EXPECT_FALSE(SpaceRefused("", 0, MinimumFreeBytes(10)));
}

TEST(LaunchRules, ProgressRangeCountsBuffersAndExceedsSixteenBits) {
  EXPECT_EQ(ProgressRange(0), 0);
  EXPECT_EQ(ProgressRange(4047), 0);
  EXPECT_EQ(ProgressRange(4049), 1);
  EXPECT_EQ(ProgressRange(4048), 0);           // tie, to even
  EXPECT_EQ(ProgressRange(8096 + 4048), 2);    // tie, to even
  EXPECT_EQ(ProgressRange(8096 * 10), 10);
  EXPECT_EQ(ProgressRange(600ULL << 20), 77711);  // 600 MB: beyond 65535 buffers
  EXPECT_EQ(ProgressRange(UINT64_MAX), INT32_MAX);
}

TEST(LaunchRules, SwitchesMatchWholeParametersWithoutCase) {
  const std::vector<std::string> params{"/S", "/restartx", "-restart", "x/restart"};
  EXPECT_TRUE(HasSwitch(params, "/s"));
  EXPECT_FALSE(HasSwitch(params, "/restart"));
  EXPECT_TRUE(HasSwitch({"/ReStArT"}, "/restart"));
  EXPECT_FALSE(HasSwitch({}, "/s"));
}

TEST(LaunchRules, InstallerCommandLinePassesEveryParameterOnUnquoted) {
  EXPECT_EQ(BuildInstallerCommandLine("C:\\Temp\\Ostravel0\\installer.exe", "D:\\", {}),
            "C:\\Temp\\Ostravel0\\installer.exe /l\"D:\\\"");
  EXPECT_EQ(BuildInstallerCommandLine("C:\\T\\installer.exe", "D:\\Setup\\", {"/s", "a b", "/restart"}),
            "C:\\T\\installer.exe /l\"D:\\Setup\\\" /s a b /restart");
  EXPECT_EQ(BuildInstallerCommandLine("C:\\Documents and Settings\\installer.exe", "E:\\", {"/s"}),
            "\"C:\\Documents and Settings\\installer.exe\" /l\"E:\\\" /s");
}

TEST(LaunchRules, FolderOfPathKeepsTheSeparator) {
  EXPECT_EQ(FolderOfPath("D:\\Setup\\startup.exe"), "D:\\Setup\\");
  EXPECT_EQ(FolderOfPath("D:startup.exe"), "D:");
  EXPECT_EQ(FolderOfPath("startup.exe"), "");
  EXPECT_EQ(FolderOfPath("\\\\server\\share\\startup.exe"), "\\\\server\\share\\");
}

}  // namespace
}  // namespace ostravel::startup
