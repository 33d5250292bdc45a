#include <gtest/gtest.h>

#include "base/md5.h"
#include "base/sha256.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/ext_ini_file.h"
#include "startup/scramble.h"
#include "tests/unit/test_support.h"
#include "tools/media/update_site.h"

namespace ostravel::media {
namespace {

const char* const kScript =
    "[Configuration]\r\nRqInstallerVersion=1.0.0.0\r\n"
    "[Components]\r\nCount=2\r\nComponent1.PackName=data1\r\nComponent1.PackSize=1\r\n"
    "Component2.PackName=data1\r\n"
    "[Orvel.Components]\r\nCount=1\r\nComponent1.PackName=orvel\r\n";

class UpdateSite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("data1.dat", std::string(70000, 'a'));
    dir.Write("data1.002", "second volume");
    dir.Write("orvel.dat", "orvel");
    dir.Write("firebird.dat", "server");
  }
  SiteResult Build(bool dos = false) {
    return BuildUpdateSite({dir.Str(), dir.Str() + "/site", "2015", dos});
  }
  std::string Read(const std::string& section, const std::string& key) {
    platform::HostFileSystem files;
    TExtIniFile ini(files, dir.Str() + "/site/2015/download.inf", false);
    return ini.ReadString(section, key, "<none>");
  }
  test::TempDir dir;
};

TEST_F(UpdateSite, ScriptCarriesTheRealSizesAndDigests) {
  for (bool scrambled : {false, true}) {
    SCOPED_TRACE(scrambled ? "scrambled medium" : "plain medium");
    dir.Write("setup.inf", scrambled ? startup::ScrambleScript(kScript).data : kScript);
    const SiteResult r = Build();
    ASSERT_EQ(r.exitCode, 0) << (r.messages.empty() ? "" : r.messages.back());
    EXPECT_EQ(Read("Components", "Component1.PackSize"), "70000");
    EXPECT_EQ(Read("Components", "Component2.PackMD5Checksum"), Md5Hex(std::string(70000, 'a')));
    EXPECT_EQ(Read("Orvel.Components", "Component1.PackSHA256Checksum"), Sha256Hex("orvel"));
    EXPECT_EQ(Read("Configuration", "RqInstallerVersion"), "1.0.0.0");
    EXPECT_EQ(dir.Read("site/2015/data1.002"), "second volume");
    EXPECT_EQ(dir.Read("site/2015/firebird.dat"), "server");
    const std::string description = dir.Read("site/2015/orvel.dat.inf");
    EXPECT_EQ(description.rfind("Last-Modified: ", 0), 0u) << description;
    EXPECT_NE(description.find(" GMT\r\n"), std::string::npos);
  }
  EXPECT_EQ(LastModifiedLineFor(1796637600), "Last-Modified: Mon, 07 Dec 2026 10:00:00 GMT");
}

TEST_F(UpdateSite, MissingArchiveLeavesTheOldSiteInPlace) {
  dir.Write("setup.inf", kScript);
  ASSERT_EQ(Build(/*dos=*/true).exitCode, 0);
  EXPECT_EQ(dir.Read("site/2015/dos/orvel.dat"), "orvel");
  std::filesystem::remove(dir.File("orvel.dat"));
  const SiteResult r = Build(true);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.messages.back().find("the medium has no orvel.dat"), std::string::npos);
  EXPECT_EQ(dir.Read("site/2015/dos/orvel.dat"), "orvel");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("site/2015")), {}), 1);
}

}  // namespace
}  // namespace ostravel::media
