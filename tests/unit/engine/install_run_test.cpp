#include "installer/engine/install_run.h"

#include "base/text.h"
#include "installer/engine/file_list.h"
#include "installer/engine/install_record.h"
#include "installer/engine/registry_entries.h"
#include "tests/unit/engine/run_test_support.h"

namespace ostravel::engine::testing {
namespace {

platform::VersionRecord Version(const std::string& text) {
  platform::VersionRecord v;
  if (text.empty()) return v;
  v.valid = true;
  std::sscanf(text.c_str(), "%hu.%hu.%hu.%hu", &v.fileMajor, &v.fileMinor, &v.fileRelease, &v.fileBuild);
  return v;
}

using InstallRunTest = RunTest;

TEST_F(InstallRunTest, UpdateRulesDecideWhatIsWritten) {
  struct Case {
    const char* name;
    int rule;
    bool installed;
    int32_t installedTime;
    const char* installedVersion;
    bool written;
  };
  const int32_t older = kPackTime - 0x10000, newer = kPackTime + 0x10000;
  const Case cases[] = {
      {"0 replaces", 0, true, newer, "", true},
      {"1 keeps a present file", 1, true, older, "", false},
      {"1 writes a missing file", 1, false, 0, "", true},
      {"2 by older time", 2, true, older, "9.0.0.0", true},
      {"2 by lower version text", 2, true, newer, "1.0.0.0", true},
      {"2 keeps: 9.0.0.0 does not sort before 10.0.0.1", 2, true, newer, "9.0.0.0", false},
      {"3 never writes", 3, false, 0, "", false},
      {"unknown rule keeps a present file", 7, true, older, "", false},
      {"unknown rule writes a missing file", -1, false, 0, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunSetup t;
    if (c.installed) t.m.files.AddFile("C:\\App\\f.dll", "old", uint32_t(c.installedTime));
    t.m.system.versions["C:\\App\\f.dll"] = Version(c.installedVersion);
    t.Pack("data1", {{"f.dll", "new"}});
    Script s;
    s.File(1, "F.DLL", "$DefaultDestination$\\f.dll", c.rule)
        .Set("Files", "File1.FileTime", std::to_string(kPackTime))
        .Set("Files", "File1.ModuleVersion", "10.0.0.1");
    t.Install(s);
    EXPECT_EQ(t.Contents("C:\\App\\f.dll"), c.written ? "new" : c.installed ? "old" : "<missing>");
    // A file that was there before is not the installation's: it is recorded as replaced.
    EXPECT_EQ(t.Recorded(std::string(c.installed ? "Replace" : "Copy") + " File: C:\\App\\f.dll"), c.written);
    EXPECT_EQ(t.end, RunEnd::Success);
  }
}

TEST_F(InstallRunTest, RunsTheStepsInOrderAndLeavesAWorkingUninstaller) {
  Pack("base", {{"C:\\Build\\prog.exe", "exe"}, {"unlisted.txt", "x"}});
  AddComponent("base");
  Script s;
  s.File(1, "C:\\Build\\prog.exe", "C:\\App\\bin\\prog.exe", 0, ".ReadOnly=1")
      .Set("Configuration", "InstallLogFile", "C:\\App\\state.ini")
      .Set("Registry", "Count", "1")
      .Set("Registry", "Reg1.SubKey", "Software\\Belloro\\Lumbra")
      .Set("Registry", "Reg1.ValueName", "Path")
      .Set("Registry", "Reg1.ValueData", "$DefaultDestination$")
      .Set("Registry", "Reg1.CreateKey", "1");
  Install(s);
  std::string steps;
  for (const auto& step : progress.steps) steps += step + ",";
  EXPECT_EQ(steps,
            "UpdateFilesAsNeccessary,SetFileAttributes,CreateIcons,UpdateRegistry,CreateInstallLogFile,"
            "CreateAdditionalFolders,InstallNewFonts,BelloroIniUpdate,ExecuteExternalInstallerFiles,"
            "AlterFBWindowsService,Done all.,");
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(m.files.Find("C:\\App\\bin\\prog.exe")->attributes, uint32_t(platform::kAttrReadOnly));
  EXPECT_FALSE(m.files.FileExists("C:\\App\\unlisted.txt"));
  // The uninstall shortcut starts a shared copy that is already there.
  EXPECT_EQ(Contents("C:\\Common\\Quillmarch Shared\\setup.exe"), "MZ installer");
  const std::string link = "C:\\Menu\\Programs\\Uninstall Lumbra v2026.lnk";
  ASSERT_NE(m.shell.Link(link), nullptr);
  EXPECT_EQ(m.shell.Link(link)->arguments, "/u /l\"C:\\App\\uninstall.log\"");
  const auto lines = SplitLines(Contents(process.installRecordPath));
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[9], "Create Icon: " + link);
  EXPECT_EQ(lines[0], "[46088.5869097222]");
  EXPECT_EQ(lines[1], "Installation Started: 2026.03.07 14:05:09");
  EXPECT_EQ(lines[2], "Source: D:\\Setup");
  EXPECT_EQ(lines[3], "Title: Lumbra v2026");
  // Every folder level made is recorded, the shortcut's too.
  EXPECT_EQ(JoinLines({lines.begin() + 4, lines.begin() + 9}, "|"),
            "Make Dir: C:\\App|Make Dir: C:\\App\\bin|Copy File: C:\\App\\bin\\prog.exe|Make Dir: C:\\Menu|"
            "Make Dir: C:\\Menu\\Programs|");
  EXPECT_TRUE(Recorded("Create Reg Key: HKEY_CURRENT_USER;Software\\Belloro\\Lumbra"));
  EXPECT_TRUE(
      Recorded("Write Reg Value: HKEY_LOCAL_MACHINE;" + std::string(kUninstallKey) + "Lumbra v2026;UninstallString"));
  EXPECT_NE(Contents("C:\\App\\state.ini").find("[General]"), std::string::npos);
  EXPECT_TRUE(EndsWith(Contents(process.installRecordPath), "\r\n"));
}

TEST_F(InstallRunTest, ALockedFileThatWouldBeReplacedStopsBeforeAnythingChanges) {
  m.files.AddFile("C:\\App\\busy.dll", "old");
  m.files.AddFile("C:\\App\\kept.dll", "mine");
  m.files.Lock("C:\\App\\busy.dll");
  m.files.Lock("C:\\App\\kept.dll");          // rule 1 keeps it: never tried
  m.files.AddFile("C:\\App\\ro.dll", "old");  // tried, and its attributes come back
  m.files.SetAttributes("C:\\App\\ro.dll", platform::kAttrReadOnly | platform::kAttrHidden);
  Pack("data1", {{"busy.dll", "new"}, {"kept.dll", "new"}, {"other.txt", "new"}, {"ro.dll", "new"}});
  Script s;
  s.File(1, "busy.dll", "C:\\App\\busy.dll")
      .File(2, "kept.dll", "C:\\App\\kept.dll", 1)
      .File(3, "other.txt", "C:\\App\\other.txt");
  s.File(4, "ro.dll", "C:\\App\\ro.dll");
  Install(s);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], LockedFilesMessage({"C:\\App\\busy.dll"}));
  EXPECT_TRUE(StartsWith(errors[0], "Egy vagy több frissítendő fájl zárolva van.\r\n\r\nC:\\App\\busy.dll\r\n\r\n"));
  EXPECT_TRUE(EndsWith(errors[0], kLockedFilesArticleUrl));
  EXPECT_TRUE(finish.showErrorLink);
  EXPECT_EQ(finish.errorLinkUrl, kLockedFilesArticleUrl);
  EXPECT_TRUE(progress.steps.empty());
  EXPECT_FALSE(m.files.FileExists("C:\\App\\other.txt"));
  EXPECT_EQ(m.files.Find("C:\\App\\ro.dll")->attributes, uint32_t(platform::kAttrReadOnly | platform::kAttrHidden));
  EXPECT_EQ(end, RunEnd::Stopped);
}

TEST_F(InstallRunTest, ALockedGds32IsLeftAloneOnlyWhileTheDevelopmentEnvironmentRuns) {
  for (bool environment : {true, false}) {
    SCOPED_TRACE(environment);
    RunSetup t;
    t.m.files.AddFile("C:\\App\\GDS32.DLL", "old");
    t.m.files.Lock("C:\\App\\GDS32.DLL");
    if (environment) t.m.windows.windows.push_back({"TAppBuilder", {}, kDevelopmentEnvironmentTitle});
    t.m.windows.windows.push_back({"Other", {}, std::string(kDevelopmentEnvironmentTitle) + " "});
    t.Pack("data1", {{"gds32.dll", "new"}});
    t.Install(Script().File(1, "gds32.dll", "C:\\App\\GDS32.DLL"));
    EXPECT_EQ(t.errors.empty(), environment);
    EXPECT_EQ(t.Contents("C:\\App\\GDS32.DLL"), "old");
    EXPECT_EQ(t.end, environment ? RunEnd::Success : RunEnd::Stopped);
  }
}

TEST_F(InstallRunTest, AnUnattendedRunAfterAnEarlierFailureInstallsNothing) {
  for (int code : {1, 2}) {
    SCOPED_TRACE(code);
    RunSetup t;
    t.process.switches.silent = true;
    t.process.exitCode = code;
    t.Pack("data1", {{"a.txt", "a"}});
    t.Install(Script().File(1, "a.txt", "C:\\App\\a.txt"));
    EXPECT_TRUE(t.progress.steps.empty());
    EXPECT_FALSE(t.m.files.FileExists("C:\\App\\a.txt"));
    EXPECT_EQ(t.end, code == 1 ? RunEnd::Success : RunEnd::Idle);
  }
}

// Whatever goes wrong mid-extraction, the record lists exactly the files on disk.
TEST_F(InstallRunTest, FaultsDuringExtractionLeaveAnExactRecord) {
  struct Case {
    const char* name;
    uint64_t spare;       // bytes left on the disk; 0: no limit
    size_t cutArchiveAt;  // 0: whole
    bool raises;
  };
  const Case cases[] = {
      // The first file fits, the second's first block does not; the record still does.
      {"disk full in the second file", 58000, 0, false},
      {"archive ends inside a member", 0, 40000, false},
      {"archive header unreadable", 0, 6, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunSetup t;
    std::vector<std::pair<std::string, std::string>> members;
    Script s;
    for (int i = 1; i <= 3; ++i) {
      const std::string name = "f" + std::to_string(i) + ".bin";
      members.push_back({name, archive_testing::TestContent(50000, false, i)});
      s.File(i, name, "C:\\App\\data\\" + name);
    }
    t.Pack("data1", members);
    if (c.cutArchiveAt)
      t.m.files.AddFile("D:\\Setup\\data1.dat", t.Contents("D:\\Setup\\data1.dat").substr(0, c.cutArchiveAt));
    t.m.files.AddFile("C:\\App\\dest.txt", "");  // the destination exists
    t.record.push_back({model::RecordAction::MakeDir, "C:\\App"});
    t.WriteScript(s);
    if (c.spare) t.m.files.SetCapacity(t.Used() + c.spare);
    if (c.raises) {
      EXPECT_THROW(t.Go(), ArchiveError);
    } else {
      t.Go();
      ASSERT_FALSE(t.errors.empty());
      EXPECT_TRUE(StartsWith(t.errors[0], "Cannot read file\r\n\nFile: C:\\App\\data\\f"));
    }
    std::vector<std::string> recorded;
    for (const auto& a : ReadInstallRecord(t.m.files, t.process.installRecordPath))
      if (a.kind == UninstallKind::File) recorded.push_back(a.value);
    std::vector<std::string> onDisk;
    for (const auto& f : t.m.files.AllFiles())
      if (StartsWith(f, "C:\\App\\data\\")) onDisk.push_back(f);
    EXPECT_EQ(recorded, onDisk);
    EXPECT_EQ(ReadInstallRecord(t.m.files, t.process.installRecordPath).front().value, "C:\\App");
  }
}

TEST_F(InstallRunTest, TargetsAreNormalisedOrPassedOverWithAMessage) {
  Pack("data1", {{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}});
  Script s;
  s.File(1, "a", "C:\\App\\sub\\..\\a.txt")
      .File(2, "b", "C:/App//b.txt")
      .File(3, "c", "C:\\App\\" + std::string(300, 'x'))
      .File(4, "d", "$NoSuchVariable$\\d.txt");
  Install(s);
  EXPECT_EQ(Contents("C:\\App\\a.txt"), "a");
  EXPECT_EQ(Contents("C:\\App\\b.txt"), "b");
  EXPECT_TRUE(Recorded("Copy File: C:\\App\\a.txt"));
  EXPECT_TRUE(Recorded("Copy File: C:\\App\\b.txt"));
  std::vector<std::string> installed;
  for (const auto& f : m.files.AllFiles())
    if (StartsWith(f, "C:\\App\\")) installed.push_back(f);
  EXPECT_EQ(JoinLines(installed, " "), "C:\\App\\a.txt C:\\App\\b.txt C:\\App\\uninstall.log ");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0],
            std::string(kUnusableTargets) + "\r\nC:\\App\\" + std::string(300, 'x') + "\r\n$NoSuchVariable$\\d.txt");
}

// "/log": a timed, counted line per step; without the switch the log is as it was.
TEST_F(InstallRunTest, TheLogSwitchAddsATimedLinePerStepAndNothingElse) {
  for (bool locked : {false, true}) {
    SCOPED_TRACE(locked ? "a locked file ends the run after the file list" : "a whole run");
    std::string logs[2];
    for (bool on : {false, true}) {
      RunSetup t;
      t.process.switches.log = on;
      t.log.WriteLog("WebFileExists start");  // an event of the documents
      t.m.files.AddFile("C:\\App\\kept.dll", "mine");
      t.m.files.AddFile("C:\\App\\new.dll", "old");
      if (locked) t.m.files.Lock("C:\\App\\new.dll");
      t.Pack("data1", {{"kept.dll", "x"}, {"new.dll", "x"}, {"never.dll", "x"}});
      Script s;
      s.File(1, "kept.dll", "C:\\App\\kept.dll", 1).File(2, "new.dll", "C:\\App\\new.dll");
      t.Install(s.File(3, "never.dll", "C:\\App\\never.dll", 3));
      logs[on] = t.Contents(t.log.LogPath());
    }
    std::vector<std::string> steps, others;
    for (const std::string& line : SplitLines(logs[1]))
      (line.find(" - Event: Step ") != std::string::npos ? steps : others).push_back(line);
    EXPECT_EQ(JoinLines(others), logs[0]);
    ASSERT_EQ(steps.size(), locked ? 2u : 14u);
    EXPECT_EQ(steps.back(), "2026.03.07 14:05:09 - Event: Step " +
                                std::string(locked ? "CreateFilelist" : "AlterFBWindowsService") +
                                ": started 2026.03.07 14:05:09.000, 0 ms; files written " +
                                (locked ? "0, kept 1, skipped 1, locked 1" : "1, kept 1, skipped 1, locked 0"));
    // Before the extraction only the never-written file counts as skipped.
    EXPECT_TRUE(EndsWith(steps[1], "files written 0, kept 1, skipped 1, locked " + std::string(locked ? "1" : "0")));
  }
}

}  // namespace
}  // namespace ostravel::engine::testing
