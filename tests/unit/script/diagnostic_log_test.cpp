#include <gtest/gtest.h>

#include "base/installer_error.h"
#include "installer/platform/fake/fake_system.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/diagnostic_log.h"
#include "installer/script/utilities.h"
#include "tests/unit/test_support.h"

namespace ostravel {
namespace {

class DiagnosticLogTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  platform::HostFileSystem fs;
  platform::FakeSystem system;
  void SetUp() override { fs.MapDrive('C', dir.Str()); }
};

TEST_F(DiagnosticLogTest, AppendsTimestampedLinesAndDeletes) {
  DiagnosticLog log(fs, system, "C:\\Temp\\Sub\\");  // missing folders are created
  log.WriteLog("WebFileExists start");
  system.now = DateTime{2026, 12, 31, 23, 59, 58, 0};
  log.WriteLog("delete");  // only the exact word deletes
  EXPECT_EQ(dir.Read("Temp/Sub/belloro-installer.log"),
            "2026.03.07 14:05:09 - Event: WebFileExists start\r\n"
            "2026.12.31 23:59:58 - Event: delete\r\n");
  log.WriteLog("DELETE");
  EXPECT_FALSE(fs.FileExists(log.LogPath()));
  log.WriteLog("DELETE");  // a missing log is fine
  log.WriteLog("Download start: http://x/");
  EXPECT_EQ(dir.Read("Temp/Sub/belloro-installer.log"), "2026.12.31 23:59:58 - Event: Download start: http://x/\r\n");
}

TEST_F(DiagnosticLogTest, AGivenPathTakesTheLogsPlace) {
  DiagnosticLog log(fs, system, "C:\\Temp\\");
  log.UsePath("C:\\Admin\\Logs\\run.log");  // missing folders are created
  log.WriteLog("DELETE");
  log.WriteLog("Step CreateIcons");
  EXPECT_EQ(dir.Read("Admin/Logs/run.log"), "2026.03.07 14:05:09 - Event: Step CreateIcons\r\n");
  EXPECT_FALSE(fs.FileExists("C:\\Temp\\belloro-installer.log"));
}

TEST_F(DiagnosticLogTest, UnwritableLogRaisesAnError) {
  DiagnosticLog log(fs, system, "C:\\Temp\\");
  log.WriteLog("first");
  fs.SetAttributes(log.LogPath(), platform::kAttrReadOnly);
  EXPECT_THROW(log.WriteLog("second"), InstallerError);
  // A temporary folder that cannot exist: the message names it.
  dir.Write("file", "x");
  DiagnosticLog bad(fs, system, "C:\\file\\sub\\");
  try {
    bad.WriteLog("x");
    FAIL();
  } catch (const InstallerError& e) {
    EXPECT_NE(std::string(e.what()).find("(C:\\file\\sub)"), std::string::npos) << e.what();
  }
}

TEST(Utilities, FontSpecification) {
  FontStyle font;
  font.height = 7;
  ApplyFontSpecification("255;12;Tahoma;9;1;0;1;x", font);
  EXPECT_EQ(font.color, 255);
  EXPECT_EQ(font.face, "Tahoma");
  EXPECT_EQ(font.size, 9);
  EXPECT_EQ(font.height, -12);  // size decides the final height
  EXPECT_TRUE(font.bold);
  EXPECT_FALSE(font.italic);
  EXPECT_TRUE(font.underline);
  EXPECT_FALSE(font.strikeOut);
  ApplyFontSpecification("red;x;Arial", font);
  EXPECT_EQ(font.color, 0);
  EXPECT_EQ(font.size, 10);
  EXPECT_FALSE(font.bold);
  EXPECT_FALSE(font.underline);
}

TEST(Utilities, VersionTexts) {
  platform::FakeSystem system;
  platform::VersionRecord v;
  v.valid = true;
  v.productMajor = 2;
  v.productMinor = 5;
  v.productRelease = 4;
  v.fileMajor = 12;
  v.fileRelease = 3;
  system.versions["C:\\fb\\fbserver.exe"] = v;
  EXPECT_EQ(ReadProductVersion(system, "C:\\fb\\fbserver.exe").text, "2.04");
  EXPECT_EQ(ReadFileVersion(system, "C:\\fb\\fbserver.exe").text, "12.03");
  EXPECT_FALSE(ReadFileVersion(system, "C:\\none.exe").valid);
}

}  // namespace
}  // namespace ostravel
