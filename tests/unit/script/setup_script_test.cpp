#include <gtest/gtest.h>

#include "installer/platform/host/host_file_system.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"
#include "tests/unit/test_support.h"

namespace ostravel {
namespace {

class SetupScriptTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  platform::HostFileSystem fs;
  template <typename Fn>
  auto Read(const std::string& script, Fn fn) {
    dir.Write("setup.inf", script);
    return WithScript(fs, dir.File("setup.inf"), fn);
  }
};

TEST_F(SetupScriptTest, EmptyScriptGivesEveryDefault) {
  Read("", [](const TExtIniFile& ini) {
    auto c = ReadConfigurationSection(ini);
    EXPECT_EQ(c.topBanner, "Ostravel");
    EXPECT_EQ(c.language, 0);
    EXPECT_TRUE(c.driveToWinDrive);
    EXPECT_TRUE(c.unInstall);
    EXPECT_EQ(c.unInstallIconTitle, "Uninstall %s");
    EXPECT_EQ(c.background, -1);
    EXPECT_EQ(c.rqInstallerVersion, "0.0.0.0");
    EXPECT_EQ(c.buildDate, 0);
    auto b = ReadButtonsSection(ini);
    EXPECT_EQ(b.backButton + b.nextButton + b.closeButton + b.cancelButton + b.finishButton + b.browseButton,
              "BackNextCloseCancelFinishChange");
    EXPECT_EQ(ReadErrorMessagesSection(ini).notEnoughSpace, kDefaultNotEnoughSpace);
    EXPECT_EQ(ReadDlgMessagesSection(ini).confirmExit, "Do you want to exit?");
    EXPECT_EQ(ReadInstallTypePageSection(ini).defaultSelected, 2);
    auto u = ReadUnInstallTypePageSection(ini);
    EXPECT_EQ(u.unInstall, "Full Uninstall");
    EXPECT_EQ(u.repair, "Repair last install");
    EXPECT_EQ(u.rollback, "Rollback last install");
    auto icons = ReadIconFolderPageSection(ini);
    EXPECT_TRUE(icons.canChange && icons.canSelectExist && icons.canDisableCreate);
    EXPECT_FALSE(ReadPageHeader(ini, section::kWelcomePage).visible);
  });
}

TEST_F(SetupScriptTest, ValuesTypesAndOddSpellings) {
  Read("[configuration]\nLanguage=0xB\nUnInstall=0\nBackground=abc\nBuildDate=2026.03.07\nTopBanner=Lumbra\n"
       "[Welcome Page]\nVisible=yes\n[License Page]\nVisible=1\nTitle=Licenc\n"
       "[Copy Files Page]\nWUStat.AvgSpeed=Átlag\nSmooth=-1\n",
       [](const TExtIniFile& ini) {
         auto c = ReadConfigurationSection(ini);
         EXPECT_EQ(c.language, 11);
         EXPECT_FALSE(c.unInstall);
         EXPECT_EQ(c.background, -1);
         EXPECT_EQ(c.buildDate, 46088);
         EXPECT_EQ(c.topBanner, "Lumbra");
         EXPECT_FALSE(ReadPageHeader(ini, section::kWelcomePage).visible);  // a word counts as absent
         auto lic = ReadPageHeader(ini, section::kLicensePage);
         EXPECT_TRUE(lic.visible);
         EXPECT_EQ(lic.title, "Licenc");
         auto copy = ReadCopyFilesPageSection(ini);
         EXPECT_EQ(copy.wuStatAvgSpeed, "Átlag");
         EXPECT_TRUE(copy.smooth);
       });
}

TEST_F(SetupScriptTest, ListsNumberingFlagsAndModules) {
  Read("[Install Modules]\nCount=3\nName1=\nPackName1=x.dat\nName2=PETTYBOX\nParamRq2=1\nParameter2=/petty\n"
       "Name3=FireBird\n"
       "[Files]\nCount=2\nFile1.FileSize=100\nFile1.ReadOnly=-1\nFile1.Hidden=1\nFile2.FileSize=0x10\n"
       "File3.FileSize=999\nFile1.RelPath=bin\\a.exe\n"
       "[PETTYBOX.Files]\nCount=1\nFile1.SourceFile=C:\\p\\x.exe\nFile1.RelPath=ignored\n"
       "[Icons]\nCount=1\nIcon1.MainIcon=2\n[PETTYBOX.Icons]\nCount=1\nIcon1.MainIcon=1\n"
       "[Registry]\nCount=1\nReg1.CreateKey=1\n"
       "[Folders]\nCount=2\nFolder0=$DefaultDestination$\\a\nFolder1=\nFolder2=never\n"
       "[Fonts]\nCount=1\nFont0.FontName=Arial\nFont0.FontFile=arial.ttf\n",
       [](const TExtIniFile& ini) {
         auto modules = ReadInstallModuleList(ini);
         ASSERT_EQ(modules.size(), 2u);  // the blank name is skipped
         EXPECT_EQ(modules[0].name, "PETTYBOX");
         EXPECT_TRUE(modules[0].paramRq);
         EXPECT_EQ(modules[0].parameter, "/petty");
         EXPECT_EQ(modules[1].number, 3);

         auto files = ReadFileList(ini, "");
         ASSERT_EQ(files.size(), 2u);
         EXPECT_FALSE(files[0].readOnly);  // -1 is not the flag value
         EXPECT_TRUE(files[0].hidden);
         EXPECT_EQ(files[0].relPath, "bin\\a.exe");
         EXPECT_EQ(files[1].fileSize, 16);
         EXPECT_EQ(RequiredSpace(ini), 116);

         auto petty = ReadFileList(ini, "PETTYBOX");
         ASSERT_EQ(petty.size(), 1u);
         EXPECT_EQ(petty[0].sourceFile, "C:\\p\\x.exe");
         EXPECT_EQ(petty[0].relPath, "");  // only the base section carries it
         EXPECT_TRUE(ReadFileList(ini, "FireBird").empty());  // a missing module section

         EXPECT_FALSE(ReadIconList(ini, "")[0].mainIcon);
         EXPECT_TRUE(ReadIconList(ini, "PETTYBOX")[0].mainIcon);
         auto reg = ReadRegistryList(ini, "");
         EXPECT_EQ(reg[0].rootKey, "HKEY_CURRENT_USER");
         EXPECT_TRUE(reg[0].createKey);
         EXPECT_FALSE(reg[0].overwriteValue);
         EXPECT_EQ(ReadFolderList(ini), (std::vector<std::string>{"$DefaultDestination$\\a", ""}));
         auto fonts = ReadFontList(ini);
         ASSERT_EQ(fonts.size(), 1u);
         EXPECT_EQ(fonts[0].fontFile, "arial.ttf");
       });
}

TEST_F(SetupScriptTest, AbsurdCountsStayBounded) {
  Read("[Files]\nCount=2000000000\nFile1.FileSize=5\nFile3000.FileSize=7\n[Folders]\nCount=-5\n"
       "[Components]\nCount=0x7FFFFFFF\n",
       [](const TExtIniFile& ini) {
         auto files = ReadFileList(ini, "");
         // Every written entry is read; the default entries beyond stop soon after.
         EXPECT_GE(files.size(), 3000u);
         EXPECT_LT(files.size(), 5000u);
         EXPECT_EQ(files[2999].fileSize, 7);
         EXPECT_EQ(RequiredSpace(ini), 12);
         EXPECT_TRUE(ReadFolderList(ini).empty());
         EXPECT_LE(ReadComponentList(ini, "").size(), 1100u);
       });
}

TEST_F(SetupScriptTest, StartUpSectionAsTheInstallerReadsIt) {
  Read("[startup]\nCopyTarget = $WinDrive$:\\Temp\\Setup\nSpaceMinMB=0x20\nCopyEnabled=1\n",
       [](const TExtIniFile& ini) {
         auto s = ReadStartUpSection(ini);
         EXPECT_EQ(s.copyTarget, "$WinDrive$:\\Temp\\Setup");
         EXPECT_EQ(s.spaceMinMB, 32);
         EXPECT_EQ(s.copyEnabled, "1");
       });
}

}  // namespace
}  // namespace ostravel
