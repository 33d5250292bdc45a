#include <gtest/gtest.h>

#include "installer/app/program.h"
#include "installer/platform/fake/fake_http.h"
#include "installer/platform/fake/fake_registry.h"
#include "installer/platform/fake/fake_shell.h"
#include "installer/platform/fake/fake_system.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/command_line.h"
#include "installer/script/setup_script.h"
#include "installer/script/unattended_dialogs.h"
#include "tests/unit/test_support.h"

namespace ostravel {
namespace {

TEST(CommandLine, ExactAndPrefixSwitches) {
  std::vector<std::string> p{"/lD:\\Setup\\", "-SILENT", "/U", "/uninstall", "/y2026x", "/devel", "-dE"};
  EXPECT_TRUE(ParamExists(p, "/u"));
  EXPECT_TRUE(ParamExists(p, "-silent"));
  EXPECT_FALSE(ParamExists(p, "/un"));
  EXPECT_EQ(ParamIndexOf(p, "/L"), 1);
  EXPECT_EQ(ParamIndexOf(p, "/d"), 6);
  EXPECT_EQ(ParamIndexOf(p, "/x"), 0);
  Switches s = ReadSwitches(p);
  EXPECT_TRUE(s.uninstall);
  EXPECT_TRUE(s.silent);
  EXPECT_TRUE(s.devel);
  EXPECT_EQ(s.year, "2026");
  // "/devel" is the first "/d" parameter and is never a drive switch; "-d" is
  // only looked at when no "/d" parameter exists.
  EXPECT_EQ(s.driveLetter, 0);
  EXPECT_EQ(ReadSwitches({"/silent", "-de"}).driveLetter, 'E');
  EXPECT_EQ(ReadSwitches({"/silent", "/DEVELOPER"}).driveLetter, 0);
  EXPECT_EQ(ReadSwitches({"/silent", "/dDevel"}).driveLetter, 'D');
}

TEST(CommandLine, SilentOnlySwitchesNeedSilentMode) {
  Switches s = ReadSwitches({"/y2026", "/dE", "/noicon"});
  EXPECT_EQ(s.year, "");
  EXPECT_EQ(s.driveLetter, 0);
  EXPECT_FALSE(s.noIcon);
  s = ReadSwitches({"/y2026", "/dE", "-NOICON", "/silent"});
  EXPECT_EQ(s.year, "2026");
  EXPECT_EQ(s.driveLetter, 'E');
  EXPECT_TRUE(s.noIcon);
}

TEST(CommandLine, InstallRecordParameter) {
  auto exists = [](const std::string& p) { return p == "C:\\rec\\install.log"; };
  // The launcher's "/l" + folder comes first; the record is the second one.
  EXPECT_EQ(FindInstallRecordParameter({"/lD:\\Setup\\", "/u", "/LC:\\rec\\install.log"}, exists),
            "C:\\rec\\install.log");
  EXPECT_EQ(FindInstallRecordParameter({"/lD:\\Setup\\", "/u", "/lmissing"}, exists), "missing");
  EXPECT_EQ(FindInstallRecordParameter({}, exists), "");
}

TEST(CommandLine, LogSwitchIsOptInAndNeverTheRecord) {
  struct Case {
    std::vector<std::string> params;
    bool log;
    std::string path, record;
  };
  auto exists = [](const std::string& p) { return p == "C:\\rec.log"; };
  for (const Case& c : {Case{{"/u", "/LC:\\rec.log", "/LOG"}, true, "", "C:\\rec.log"},
                        Case{{"/lmissing", "/log=\"C:\\a b.log\""}, true, "C:\\a b.log", "missing"},
                        Case{{"/logfile", "/lD:\\Setup\\"}, false, "", "D:\\Setup\\"}}) {  // no log switch
    EXPECT_EQ(ReadSwitches(c.params).log, c.log);
    EXPECT_EQ(ReadSwitches(c.params).logPath, c.path);
    EXPECT_EQ(FindInstallRecordParameter(c.params, exists), c.record);
  }
}

class RecordingWindows : public ProgramWindows, public ui::MessageDialogs {
 public:
  std::vector<std::string> shown;
  int language = -1;
  void ShowWizardModal() override { shown.push_back("wizard"); }
  void ShowBackgroundModal() override { shown.push_back("background"); }
  int ShowMessage(const std::string& text, ui::MsgDlgType type, uint32_t buttons, int lang) override {
    EXPECT_EQ(type, ui::MsgDlgType::Warning);
    EXPECT_EQ(buttons, ui::mbOK);
    shown.push_back("message:" + text);
    language = lang;
    return ui::mrOk;
  }
};

class ProgramBodyTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  platform::HostFileSystem fs;
  platform::FakeRegistry registry;
  platform::FakeSystem system;
  platform::FakeShell shell{fs};
  platform::FakeFonts fonts;
  platform::FakeHttpClient http;
  platform::Platform platform{fs, registry, system, shell, fonts, http};
  ProcessState state;
  RecordingWindows windows;
  UnattendedDialogs dialogs{windows, state};

  void SetUp() override {
    fs.MapDrive('D', dir.Str());
    system.programPath = "D:\\installer.exe";
    InitProcessState(state, system);
  }
  std::vector<std::string> Run(const std::string& script, std::vector<std::string> params = {}) {
    dir.Write("setup.inf", script);
    system.parameters = std::move(params);
    InitProcessState(state, system);
    windows.shown.clear();
    state.exitCode = 0;
    RunProgramBody(platform, state, windows, dialogs);
    return windows.shown;
  }
};

const char kOneComponent[] =
    "[Configuration]\nLanguage=11\n[Components]\nCount=2\nComponent1.PackName=empty\n"
    "Component2.PackName=data1\nComponent2.Size=1000\n";

TEST_F(ProgramBodyTest, StartStateFollowsTheProgramFile) {
  EXPECT_EQ(state.sourceFolder, "D:\\");
  EXPECT_EQ(state.scriptPath, "D:\\setup.inf");
  EXPECT_EQ(state.backgroundScriptPath, "C:\\TEMP\\setup.inf");
  system.parameters = {"/DEVEL"};
  InitProcessState(state, system);
  EXPECT_EQ(state.backgroundScriptPath, "D:\\setup.inf");
}

TEST_F(ProgramBodyTest, NoPackagesShowsTheMessageInTheScriptLanguage) {
  dir.Write("empty.dat", "x");  // present, but its component has size 0
  EXPECT_EQ(Run(kOneComponent), (std::vector<std::string>{"message:" + std::string(kDefaultNoPackagesFound)}));
  EXPECT_EQ(windows.language, 11);
  EXPECT_EQ(state.exitCode, 0);
  EXPECT_EQ(Run("[ErrorMessages]\nNoPackagesFound=Nincs csomag!\n"),
            (std::vector<std::string>{"message:Nincs csomag!"}));
  EXPECT_EQ(windows.language, 0);
}

TEST_F(ProgramBodyTest, SilentModeNeverShowsTheMessage) {
  EXPECT_TRUE(Run(kOneComponent, {"-Silent"}).empty());
  EXPECT_EQ(state.exitCode, 1);
}

TEST_F(ProgramBodyTest, PackagesWebUpdateOrUninstallOpenTheWizard) {
  dir.Write("data1.dat", "x");
  EXPECT_EQ(Run(kOneComponent), (std::vector<std::string>{"wizard"}));
  fs.DeleteFile("D:\\data1.dat");
  EXPECT_EQ(Run("[Install Type Page]\nWebUpdateEnabled=1\n"), (std::vector<std::string>{"wizard"}));
  EXPECT_EQ(Run("", {"-u"}), (std::vector<std::string>{"wizard"}));
  EXPECT_EQ(Run("", {"/uninstall"}).size(), 1u);  // not the switch: the message
  EXPECT_EQ(state.exitCode, 0);
}

TEST_F(ProgramBodyTest, BackgroundWindowForAnyValueButMinusOne) {
  dir.Write("data1.dat", "x");
  const std::string base = kOneComponent;
  EXPECT_EQ(Run(base + "[Configuration]\n"), (std::vector<std::string>{"wizard"}));
  // Keys of a second [Configuration] section are invisible; write into the first.
  auto with = [&](const char* value) {
    return std::string("[Configuration]\nBackground=") + value +
           "\n[Components]\nCount=1\n"
           "Component1.PackName=data1\nComponent1.Size=5\n";
  };
  EXPECT_EQ(Run(with("0")), (std::vector<std::string>{"background"}));
  EXPECT_EQ(Run(with("1"), {"/silent"}), (std::vector<std::string>{"background"}));
  EXPECT_EQ(Run(with("-1")), (std::vector<std::string>{"wizard"}));
  EXPECT_EQ(Run(with("yes")), (std::vector<std::string>{"wizard"}));
}

TEST_F(ProgramBodyTest, DebugInfoFileOnlyWhenSwitchedOnAndFilled) {
  state.switches.debugInfo = false;
  state.debugInfoList = {"File: a"};
  EndProcess(fs, state);
  EXPECT_FALSE(fs.FileExists("D:\\debuginfo"));
  state.switches.debugInfo = true;
  state.debugInfoList.clear();
  EndProcess(fs, state);
  EXPECT_FALSE(fs.FileExists("D:\\debuginfo"));
  state.debugInfoList = {"File: a", "Update: True", ""};
  EndProcess(fs, state);
  EXPECT_EQ(dir.Read("debuginfo"), "File: a\r\nUpdate: True\r\n\r\n");
}

}  // namespace
}  // namespace ostravel
