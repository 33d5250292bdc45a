#include "base/installer_error.h"
#include "base/md5.h"
#include "installer/engine/backups.h"
#include "installer/engine/install_run.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/uninstall_kinds.h"
#include "installer/script/setup_script.h"
#include "tests/unit/engine/run_test_support.h"

namespace ostravel::engine::testing {
namespace {

using platform::RootKey;

const char* const kShared = "C:\\Common\\Quillmarch Shared\\";
const char* const kScriptCopy = "C:\\Common\\Quillmarch Shared\\Lumbra v2026\\setup.inf";
const char* const kLink = "C:\\Menu\\Programs\\Lumbra\\Lumbra.lnk";
const char* const kKey = "Software\\Belloro\\Lumbra";

// Version v of the product: a.exe and lib\shared.dll change with it, new.dll and
// a key of its own come with version 2, the shortcut moves to another program,
// cfg.ini is the customer's once written.
struct Kinds : RunSetup {
  std::string Content(const char* name, int v) { return std::string(name) + std::to_string(v); }

  void Prepare(int v, bool keepBackups) {
    std::vector<std::pair<std::string, std::string>> members{
        {"a.exe", Content("a", v)}, {"shared.dll", Content("s", v)}, {"cfg.ini", Content("c", v)}};
    Script s;
    s.File(1, "a.exe", "$DefaultDestination$\\a.exe").File(2, "shared.dll", "$DefaultDestination$\\lib\\shared.dll");
    s.File(3, "cfg.ini", "$DefaultDestination$\\cfg.ini", 1);
    if (v == 2) {
      members.push_back({"new.dll", "n2"});
      s.File(4, "new.dll", "$DefaultDestination$\\lib\\new.dll");
      s.Set("Registry", "Reg2.SubKey", std::string(kKey) + "\\Extra").Set("Registry", "Reg2.ValueName", "X");
      s.Set("Registry", "Reg2.CreateKey", "1");
    }
    for (int i = 1; i <= int(members.size()); ++i)
      s.Set("Files", "File" + std::to_string(i) + ".MD5HashInfo", Md5Hex(members[size_t(i - 1)].second));
    s.Set("Registry", "Count", v == 2 ? "2" : "1").Set("Registry", "Reg1.SubKey", kKey);
    s.Set("Registry", "Reg1.ValueName", "Version").Set("Registry", "Reg1.ValueData", std::to_string(v));
    s.Set("Registry", "Reg1.CreateKey", "1").Set("Registry", "Reg1.OverwriteValue", "1");
    const std::string program = v == 1 ? "$DefaultDestination$\\a.exe" : "$DefaultDestination$\\lib\\shared.dll";
    s.Set("Icons", "Count", "1").Set("Icons", "Icon1.Placement", "$UserPrograms$\\Lumbra");
    s.Set("Icons", "Icon1.Title", "Lumbra").Set("Icons", "Icon1.File", program).Set("Icons", "Icon1.IconFile", program);
    s.Set("Copy Files Page", "CreateBackup", "Mentés").Set("Copy Files Page", "RemoveBackup", "Takarítás");
    if (keepBackups) s.Set("Configuration", "KeepBackups", "1");
    Pack("data1", members);
    WriteScript(s);
    process = ProcessState{};
    process.sourceFolder = "D:\\Setup\\", process.scriptPath = "D:\\Setup\\setup.inf";
    process.programPath = "D:\\Setup\\installer.exe", process.installRecordPath = "C:\\App\\uninstall.log";
    record.clear();
    choices.installStartTime.day = v;
    variables.SetCurrentDestination(choices.destination);  // as the destination page leaves it
  }
  void InstallVersion(int v, bool keepBackups) {
    Prepare(v, keepBackups);
    Go();
    ASSERT_TRUE(errors.empty()) << errors[0];
  }
  // The shared uninstaller with the kind at that position (1 Repair, 2 Rollback).
  void Uninstaller(int kind, const std::string& source = kShared) {
    process.switches.uninstall = true;
    process.sourceFolder = source;
    process.scriptPath = kScriptCopy;
    selection.repairKindIndex = 1, selection.rollbackKindIndex = 2;
    choices.uninstallKindIndex = kind;
    Go();
  }
  std::string Value(const std::string& key, const char* name) {
    const auto* v = m.registry.Get(RootKey::CurrentUser, key, name);
    return v ? v->text : "<none>";
  }
  std::string Log() { return Contents(log.LogPath()); }
};

class KindsTest : public ::testing::Test, public Kinds {};

TEST_F(KindsTest, RollbackPutsTheVersionBeforeBackAndOneBlockMoreUninstallsAll) {
  InstallVersion(1, false);
  const std::string v1Record = Contents(process.installRecordPath), v1Script = Contents(kScriptCopy);
  m.files.AddFile("C:\\App\\cfg.ini", "the customer's");
  InstallVersion(2, true);
  EXPECT_TRUE(Recorded("Backup File: C:\\App\\a.exe|C:\\App\\uninstall.log.backups\\20260302-140509\\00001_a.exe"));
  EXPECT_TRUE(Recorded("Backup Reg Value: HKEY_CURRENT_USER;Software\\Belloro\\Lumbra;Version|31"));
  EXPECT_NE(std::find(progress.statuses.begin(), progress.statuses.end(), "Mentés"), progress.statuses.end());
  ASSERT_EQ(Contents("C:\\App\\a.exe"), "a2");

  Uninstaller(2);
  EXPECT_EQ(end, RunEnd::Success);
  EXPECT_EQ(Contents("C:\\App\\a.exe"), "a1");
  EXPECT_EQ(Contents("C:\\App\\lib\\shared.dll"), "s1");
  EXPECT_EQ(Contents("C:\\App\\cfg.ini"), "the customer's");
  EXPECT_FALSE(m.files.FileExists("C:\\App\\lib\\new.dll"));
  EXPECT_EQ(Value(kKey, "Version"), "1");
  EXPECT_FALSE(m.registry.KeyExists(RootKey::CurrentUser, std::string(kKey) + "\\Extra", platform::RegView::Wow32));
  EXPECT_EQ(Contents(kLink), "link C:\\App\\a.exe");
  EXPECT_EQ(Contents(kScriptCopy), v1Script);
  EXPECT_EQ(Contents(process.installRecordPath), v1Record);
  EXPECT_NE(m.registry.Get(RootKey::LocalMachine, std::string(kUninstallKey) + "Lumbra v2026", "UninstallString"),
            nullptr);
  EXPECT_FALSE(m.files.DirectoryExists("C:\\App\\uninstall.log.backups"));
  EXPECT_NE(std::find(progress.statuses.begin(), progress.statuses.end(), kRollingBack), progress.statuses.end());

  Uninstaller(2);  // nothing older to go back to
  EXPECT_FALSE(m.files.DirectoryExists("C:\\App\\lib"));
  EXPECT_EQ(Contents("C:\\App\\a.exe"), "<missing>");
  EXPECT_EQ(Contents(process.installRecordPath), "<missing>");
  EXPECT_EQ(Value(kKey, "Version"), "<none>");
  EXPECT_EQ(progress.statuses.back(), "Uninstalling ...");
}

// A file that was there before the installation is nobody's to remove: Repair
// brings it back only when it is gone, Full Uninstall leaves it. (Rollback puts
// the backups of replaced files back: the test above.)
TEST_F(KindsTest, AFileThatWasThereBeforeIsLeftAsItIs) {
  m.files.AddFile("C:\\App\\lib\\shared.dll", "theirs");
  InstallVersion(1, false);
  EXPECT_TRUE(Recorded("Replace File: C:\\App\\lib\\shared.dll"));
  for (const char* changed : {"another program's", ""}) {
    if (*changed) m.files.AddFile("C:\\App\\lib\\shared.dll", changed); else m.files.DeleteFile("C:\\App\\lib\\shared.dll");
    Uninstaller(1, "D:\\Setup\\");
    EXPECT_EQ(Contents("C:\\App\\lib\\shared.dll"), *changed ? changed : "s1");
  }
  Uninstaller(0);
  EXPECT_EQ(Contents("C:\\App\\lib\\shared.dll") + Contents("C:\\App\\a.exe"), "s1<missing>");
}

TEST_F(KindsTest, FullUninstallTakesTheBackupsWithIt) {
  InstallVersion(1, false);
  InstallVersion(2, true);
  ASSERT_TRUE(m.files.DirectoryExists("C:\\App\\uninstall.log.backups\\20260302-140509"));
  Uninstaller(0);
  EXPECT_FALSE(m.files.DirectoryExists("C:\\App"));
  EXPECT_NE(std::find(progress.statuses.begin(), progress.statuses.end(), "Takarítás"), progress.statuses.end());
}

TEST_F(KindsTest, ABackupThatCannotBeReadLeavesTheFileDeletedAndSaysWhich) {
  struct Case {
    const char* name;
    void (*damage)(platform::MemoryFileSystem&, const std::string& copy);
    const char* logged;
  };
  const Case cases[] = {
      {"missing", [](platform::MemoryFileSystem& fs, const std::string& copy) { fs.DeleteFile(copy); }, "missing"},
      {"unreadable",
       [](platform::MemoryFileSystem& fs, const std::string& copy) {
         fs.DeleteFile(copy);
         fs.CreateDirectories(copy);
       },
       "unreadable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kinds t;
    t.InstallVersion(1, false);
    t.InstallVersion(2, true);
    c.damage(t.m.files, "C:\\App\\uninstall.log.backups\\20260302-140509\\00001_a.exe");
    t.Uninstaller(2);
    EXPECT_EQ(t.Contents("C:\\App\\a.exe"), "<missing>");
    EXPECT_EQ(t.Contents("C:\\App\\lib\\shared.dll"), "s1");
    EXPECT_NE(t.Log().find(std::string(c.logged) + "; the file is removed"), std::string::npos);
    EXPECT_NE(t.Log().find("of C:\\App\\a.exe is"), std::string::npos);
  }
}

TEST_F(KindsTest, AnEmptyNewestBlockIsOnlyTakenOffTheRecord) {
  InstallVersion(1, false);
  const std::string v1Record = Contents(process.installRecordPath);
  const std::string cut = "[46100.5]\r\nInstallation Started: x\r\nTitle: Lumbra v2026\r\n" + v1Record;
  m.files.AddFile(process.installRecordPath, cut);
  KeepRecordDigest(m.registry, process.installRecordPath, cut);  // as the run that was cut short saved it
  Uninstaller(2);
  EXPECT_EQ(Contents(process.installRecordPath), v1Record);
  EXPECT_EQ(Contents("C:\\App\\a.exe"), "a1");
  EXPECT_EQ(Value(kKey, "Version"), "1");
  EXPECT_NE(Log().find("lists nothing"), std::string::npos);
}

TEST_F(KindsTest, ADiskThatFillsWhileBackingUpStopsBeforeAnythingIsReplaced) {
  InstallVersion(1, false);
  const std::string v1Record = Contents(process.installRecordPath);
  Prepare(2, true);
  WithScript(m.files, process.scriptPath, [](TExtIniFile&) {});  // the reader's own layout, written once
  m.files.SetCapacity(Used() + 3);                              // room for the first copy only
  try {
    Go();
    FAIL() << "the installation went on";
  } catch (const InstallerError& e) {
    EXPECT_TRUE(StartsWith(e.what(), kBackupFailed)) << e.what();
    EXPECT_NE(std::string(e.what()).find("C:\\App\\lib\\shared.dll"), std::string::npos);
  }
  EXPECT_EQ(Contents("C:\\App\\a.exe"), "a1");
  EXPECT_EQ(Contents("C:\\App\\lib\\shared.dll"), "s1");
  EXPECT_FALSE(m.files.FileExists("C:\\App\\lib\\new.dll"));
  EXPECT_EQ(Contents(process.installRecordPath), v1Record);
  EXPECT_FALSE(m.files.DirectoryExists("C:\\App\\uninstall.log.backups"));
  EXPECT_EQ(Value(kKey, "Version"), "1");
}

TEST_F(KindsTest, RepairPutsBackWhatIsMissingOrChangedWhereverItWasInstalled) {
  choices.destination = "E:\\Elsewhere";
  InstallVersion(1, false);
  const std::string record = Contents(process.installRecordPath);
  m.files.DeleteFile("E:\\Elsewhere\\a.exe");
  m.files.DeleteFile("E:\\Elsewhere\\lib\\shared.dll");
  m.files.RemoveDirectory("E:\\Elsewhere\\lib");
  m.files.AddFile("E:\\Elsewhere\\cfg.ini", "the customer's");
  m.shell.AddLink(kLink, {});
  choices.destination = "C:\\App";  // what the page shows the uninstaller
  Uninstaller(1, "D:\\Setup\\");
  EXPECT_EQ(end, RunEnd::Success);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(Contents("E:\\Elsewhere\\a.exe"), "a1");
  EXPECT_EQ(Contents("E:\\Elsewhere\\lib\\shared.dll"), "s1");
  EXPECT_EQ(Contents("E:\\Elsewhere\\cfg.ini"), "the customer's");
  EXPECT_FALSE(m.files.FileExists("C:\\App\\a.exe"));
  EXPECT_EQ(Contents(kLink), "link ");  // everything else stays
  EXPECT_EQ(Contents(process.installRecordPath), record);  // the folder was recorded already
  EXPECT_NE(std::find(progress.statuses.begin(), progress.statuses.end(), kRepairing), progress.statuses.end());
}

TEST_F(KindsTest, RepairRecordsAFolderItMadeOnceAndReportsWhatItCouldNot) {
  m.files.CreateDirectories("C:\\App\\lib");  // there before: not recorded
  InstallVersion(1, false);
  m.files.DeleteFile("C:\\App\\lib\\shared.dll");
  m.files.RemoveDirectory("C:\\App\\lib");
  m.files.AddFile("C:\\App\\a.exe", "damaged");
  Uninstaller(1, "D:\\Setup\\");
  Uninstaller(1, "D:\\Setup\\");
  EXPECT_EQ(Contents("C:\\App\\a.exe"), "a1");
  const std::string text = Contents(process.installRecordPath);
  EXPECT_NE(text.find("Make Dir: C:\\App\\lib\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Make Dir: C:\\App\\lib\r\n"), text.rfind("Make Dir: C:\\App\\lib\r\n"));
  EXPECT_TRUE(errors.empty());

  m.files.DeleteFile("C:\\App\\a.exe");
  m.files.DeleteFile("D:\\Setup\\data1.dat");
  Uninstaller(1, "D:\\Setup\\");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("\r\nC:\\App\\a.exe"), std::string::npos);
  EXPECT_EQ(end, RunEnd::Stopped);

  errors.clear();
  Pack("data1", {{"a.exe", "a9"}});  // another version's package
  Uninstaller(1, "D:\\Setup\\");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("\r\nC:\\App\\a.exe"), std::string::npos);

  errors.clear();
  m.files.DeleteFile("C:\\App\\a.exe");
  Pack("data1", {{"a.exe", "a1"}});
  m.files.AddFile("C:\\App\\lib\\shared.dll", "damaged");
  m.files.Lock("C:\\App\\lib\\shared.dll");
  Uninstaller(1, "D:\\Setup\\");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], LockedFilesMessage({"C:\\App\\lib\\shared.dll"}));
  EXPECT_EQ(Contents("C:\\App\\a.exe"), "<missing>");  // nothing was written
}

TEST(RecordBlocks, BackupLinesOfADamagedRecordNeverPointOutsideTheBackupFolder) {
  const std::string record = "C:\\App\\u.log";
  const std::vector<std::string> lines = {
      "Backup File: C:\\App\\a.exe|C:\\App\\u.log.backups\\1\\00001_a.exe",
      "Backup File: C:\\App\\b.exe|C:\\Windows\\evil.exe",
      "Backup File: C:\\App\\c.exe|C:\\App\\u.log.backups\\..\\..\\evil.exe",
      "Backup File: c.exe|C:\\App\\u.log.backups\\1\\c.exe",
      "Backup File: C:\\App\\d.exe",
      "Backup Reg Value: HKEY_CURRENT_USER;K;a|b|3132",
      "Backup Reg Value: HKEY_CURRENT_USER;K;v|31G2",
      "Backup Reg Value: HKEY_CURRENT_USER;K;w|",
  };
  const BlockBackups b = BackupsOf(lines, record);
  ASSERT_EQ(b.files.size(), 1u);
  EXPECT_EQ(b.files[0].target, "C:\\App\\a.exe");
  ASSERT_EQ(b.values.size(), 2u);
  EXPECT_EQ(b.values[0].value, "HKEY_CURRENT_USER;K;a|b");
  EXPECT_EQ(b.values[0].data, "12");
  EXPECT_EQ(b.values[1].data, "");
  const RecordBlocks blocks = SplitNewestBlock("stray\r\n[2]\r\nCopy File: C:\\n\r\n[1]\r\nCopy File: C:\\o\r\n");
  EXPECT_EQ(blocks.newest.size(), 3u);
  EXPECT_EQ(RecordText(blocks.older), "[1]\r\nCopy File: C:\\o\r\n");
}

}  // namespace
}  // namespace ostravel::engine::testing
