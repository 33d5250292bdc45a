#include <gtest/gtest.h>

#include "installer/platform/fake/fake_registry.h"
#include "installer/script/path_variables.h"

namespace ostravel {
namespace {

using platform::RootKey;

const char kShell[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCurrent[] = "Software\\Microsoft\\Windows\\CurrentVersion";

class PathVariablesTest : public ::testing::Test {
 protected:
  platform::FakeRegistry registry;
  PathVariables vars{registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", "C:\\Users\\kata\\Temp\\",
                     "D:\\Setup\\"};
  void SetUp() override {
    registry.Set(RootKey::CurrentUser, kShell, "Programs", "C:\\Users\\kata\\Start Menu\\Programs");
    registry.Set(RootKey::LocalMachine, kShell, "Common Desktop", "C:\\Users\\Public\\Desktop");
    registry.Set(RootKey::LocalMachine, kCurrent, "ProgramFilesDir", "C:\\Program Files (x86)");
    vars.SetCurrentDestination("C:\\Lumbra");
    vars.SetUserVariables({"$varProgramYear$=2026", "$varPastProgYear$=2025", "$TempFolder$=X:\\nope",
                           "$Loop$=a$Loop$", "$Alias$=in $DefaultDestination$\\data", "$Lead$=$DefaultDestination$", "$VARPROGRAMYEAR$=1999",
                           "$Dollar$=$"});
  }
};

TEST_F(PathVariablesTest, ExpandsBuiltInsFromSystemAndRegistry) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"$UserPrograms$\\Lumbra", "C:\\Users\\kata\\Start Menu\\Programs\\Lumbra"},
      {"$WinDrive$:\\Lumbra", "C:\\Lumbra"},
      {"$DefaultDestination$\\$varProgramYear$\\startinf.ini", "C:\\Lumbra\\2026\\startinf.ini"},
      {"$TempFolder$\\x.log", "C:\\Users\\kata\\Temp\\x.log"},
      {"$SystemFolder$", "C:\\WINDOWS\\system32\\"},
      {"$EditorStartPath$", "D:\\Setup"},
      {"$ProgramFilesFolder$", "C:\\Program Files (x86)"},
      {"$AllUserDesktop$", "C:\\Users\\Public\\Desktop"},
      {"$ParentCompTargetFolder$", "C:\\Lumbra"},
      {"$InstallerStartPath$|$ParentCompSourceFolder$", "|"},
      {"no variables at all", "no variables at all"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(vars.ExpandVariables(c.in), c.out);
  }
}

TEST_F(PathVariablesTest, RegistryFailuresGiveEmptyTextsOrFallbacks) {
  // Missing key or value: empty; a value of the wrong type: the documented fallback.
  EXPECT_EQ(vars.ExpandVariables("[$UserDesktop$]"), "[]");
  EXPECT_EQ(vars.ExpandVariables("[$ProgramFilesFolder64$]"), "[]");
  registry.SetDword(RootKey::LocalMachine, kCurrent, "ProgramW6432Dir", 5);
  registry.SetBinary(RootKey::LocalMachine, kCurrent, "CommonFilesDir");
  EXPECT_EQ(vars.ExpandVariables("$ProgramFilesFolder64$"), "C:\\Program Files");
  EXPECT_EQ(vars.ExpandVariables("$CommonFilesFolder$"), "C:\\Program Files\\Common Files");
  // The 64-bit view is never consulted.
  registry.Set(RootKey::CurrentUser, kShell, "Desktop", "C:\\wrong", platform::RegView::Wow64);
  EXPECT_EQ(vars.ExpandVariables("$UserDesktop$"), "");
}

TEST_F(PathVariablesTest, ValuesAreReadAnewEveryTime) {
  registry.reads = 0;
  vars.ExpandVariables("$UserPrograms$ $UserPrograms$");
  EXPECT_EQ(registry.reads, 2);
  registry.Set(RootKey::CurrentUser, kShell, "Programs", "E:\\Other");
  EXPECT_EQ(vars.ExpandVariables("$UserPrograms$"), "E:\\Other");
}

TEST_F(PathVariablesTest, UserVariablesAndTheirCase) {
  // Built-in names are never taken from [Variables]; other case goes to the user list.
  EXPECT_EQ(vars.ExpandVariables("$TempFolder$"), "C:\\Users\\kata\\Temp");
  EXPECT_EQ(vars.ExpandVariables("$tempfolder$"), "X:\\nope");
  EXPECT_EQ(vars.ExpandVariables("$VarProgramYear$"), "2026");  // first line wins
  EXPECT_EQ(vars.ExpandVariables("$Alias$"), "in C:\\Lumbra\\data");  // values are expanded too
  // ...except a "$" right at the replaced place, which is dropped to stop the scan.
  EXPECT_EQ(vars.ExpandVariables("$Lead$"), "DefaultDestination");
  EXPECT_TRUE(vars.VariableHasValue("$varProgramYear$"));
  EXPECT_FALSE(vars.VariableHasValue("$Unknown$"));
  EXPECT_EQ(vars.UserVariable("$varpastprogyear$"), "2025");
}

TEST_F(PathVariablesTest, UnknownNamesAndLoneDollarsDisappear) {
  EXPECT_EQ(vars.ExpandVariables("a$Unknown$b"), "ab");
  EXPECT_EQ(vars.ExpandVariables("price 5$ word"), "price 5");
  EXPECT_EQ(vars.ExpandVariables("$$"), "");
  EXPECT_EQ(vars.ExpandVariables("x$Dollar$y"), "xy");  // the "$" a value brings is dropped
  EXPECT_EQ(vars.ExpandVariables("$Unknown$$WinDrive$"), "WinDrive");
}

TEST_F(PathVariablesTest, SelfReferenceStopsAtTheBound) {
  // Each pass adds one "a"; at the bound the leftover dollar signs are dropped.
  EXPECT_EQ(vars.ExpandVariables("x$Loop$y"), "x" + std::string(PathVariables::kMaxReplacements, 'a') + "Loopy");
}

TEST_F(PathVariablesTest, SettableValues) {
  vars.SetApplicationName("Lumbra v2026.1");
  vars.SetCompanyName("Belloro Kft.");
  vars.SetCurrentDestination("E:\\Könyvelés");
  EXPECT_EQ(vars.ExpandVariables("$ApplicationName$ ($CompanyName$) in $DefaultDestination$"),
            "Lumbra v2026.1 (Belloro Kft.) in E:\\Könyvelés");
}

}  // namespace
}  // namespace ostravel
