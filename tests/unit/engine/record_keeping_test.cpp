// What the record keeps for the uninstaller: files that were there before, shared
// files of the system folder, every folder level made, and a record that cannot
// be read, and no record at all.
#include "installer/engine/finish_install.h"
#include "installer/engine/install_run.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/registry_entries.h"
#include "installer/engine/shared_files.h"
#include "installer/engine/uninstall_kinds.h"
#include "tests/unit/engine/run_test_support.h"

namespace ostravel::engine::testing {
namespace {

const std::string kSys = "C:\\WINDOWS\\system32\\";

// A system-folder file and one of the destination that were there stay; what the
// installation made goes, a shared file only when nobody else counts it.
TEST(RecordKeeping, TheUninstallRemovesOnlyWhatAnInstallationCreated) {
  for (bool otherUser : {false, true}) {
    SCOPED_TRACE(otherUser);
    RunSetup t;
    auto count = [&t](const std::string& file) {
      const auto* v = t.m.registry.Get(platform::RootKey::LocalMachine, kSharedDllsKey, kSys + file);
      return v ? int(v->dword) : -1;
    };
    t.m.files.AddFile(kSys + "gds32.dll", "theirs");
    t.m.files.AddFile("C:\\App\\old.dat", "theirs");
    t.Pack("data1", {{"g", "ours"}, {"f", "ours"}, {"o", "ours"}, {"p", "ours"}});
    t.Install(Script().File(1, "g", "$SystemFolder$\\gds32.dll").File(2, "f", "$SystemFolder$\\fbclient.dll")
                  .File(3, "o", "C:\\App\\old.dat").File(4, "p", "C:\\App\\sub\\deep\\p.exe"));
    EXPECT_TRUE(t.Recorded("Replace File: " + kSys + "gds32.dll") && t.Recorded("Copy File: " + kSys + "fbclient.dll"));
    EXPECT_EQ(count("gds32.dll"), 2);  // its unknown owner and this installation
    EXPECT_EQ(count("fbclient.dll"), 1);
    if (otherUser) t.m.registry.SetDword(platform::RootKey::LocalMachine, kSharedDllsKey, kSys + "fbclient.dll", 2);
    t.process.switches.uninstall = true;
    t.Go();
    EXPECT_EQ(t.Contents(kSys + "gds32.dll") + t.Contents("C:\\App\\old.dat"), "oursours");
    EXPECT_EQ(t.Contents(kSys + "fbclient.dll"), otherUser ? "ours" : "<missing>");
    EXPECT_EQ(std::make_pair(count("gds32.dll"), count("fbclient.dll")), std::make_pair(1, otherUser ? 1 : -1));
    EXPECT_FALSE(t.m.files.DirectoryExists("C:\\App\\sub"));
  }
}

// A record that is there but cannot be read keeps every block it holds.
TEST(RecordKeeping, AnUnreadableRecordIsNeverOverwrittenNorTakenAsEmpty) {
  RunSetup t;
  t.m.files.AddFile(t.process.installRecordPath, "[1]\r\nCopy File: C:\\App\\older.exe\r\n");
  t.m.files.AddFile("C:\\App\\older.exe", "older");
  t.m.files.DenyReading(t.process.installRecordPath);
  t.Pack("data1", {{"a", "a"}});
  t.Install(Script().File(1, "a", "C:\\App\\a.exe"));
  EXPECT_EQ(t.errors.at(0), std::string(kRecordUnreadable) + "C:\\App\\uninstall.log\r\n" + kRecordSetAside +
                                "C:\\App\\uninstall.log.1");
  EXPECT_EQ(t.Contents("C:\\App\\uninstall.log"), "[1]\r\nCopy File: C:\\App\\older.exe\r\n");
  EXPECT_TRUE(t.Recorded("Copy File: C:\\App\\a.exe"));  // in the record of its own, which the entry names
  t.process.installRecordPath = "C:\\App\\uninstall.log";
  t.process.switches.uninstall = true;
  t.Go();
  EXPECT_EQ(t.errors.back(), kRecordUnreadableAtUninstall + t.process.installRecordPath);
  EXPECT_EQ(t.Contents("C:\\App\\older.exe"), "older");
  EXPECT_TRUE(t.m.files.FileExists(t.process.installRecordPath));
}

// The record names what an elevated uninstall deletes; one changed since its last save
// is neither obeyed nor merged into. One saved before digests were kept still works,
// and an uninstall leaves no digest behind.
TEST(RecordKeeping, ARecordChangedSinceItsSaveIsNotTrusted) {
  for (bool legacy : {false, true}) {
    SCOPED_TRACE(legacy);
    RunSetup t;
    const std::string record = t.process.installRecordPath;
    t.m.files.AddFile("C:\\Windows\\theirs.dll", "theirs");
    t.Pack("data1", {{"a", "a"}});
    t.Install(Script().File(1, "a", "C:\\App\\a.exe"));
    ASSERT_TRUE(t.errors.empty());
    const std::string planted = t.Contents(record) + "Copy File: C:\\Windows\\theirs.dll\r\n";
    t.m.files.AddFile(record, planted);
    if (legacy) t.m.registry.DeleteKeyTree(platform::RootKey::LocalMachine, kRecordDigestKey, platform::RegView::Wow32);
    t.process.switches.uninstall = true;
    t.Go();
    EXPECT_EQ(t.Contents("C:\\Windows\\theirs.dll"), legacy ? "<missing>" : "theirs");
    if (legacy) {
      EXPECT_FALSE(t.m.files.FileExists("C:\\App\\a.exe"));
      EXPECT_FALSE(t.m.registry.KeyExists(platform::RootKey::LocalMachine, "Software\\Ostravel", platform::RegView::Wow32));
      continue;
    }
    EXPECT_EQ(t.errors.back(), kRecordChangedAtUninstall + record);
    EXPECT_EQ(t.Contents("C:\\App\\a.exe") + t.Contents(record), "a" + planted);
    t.errors.clear();
    t.process.switches.uninstall = false;
    t.Install(Script().File(1, "a", "C:\\App\\a.exe"));
    EXPECT_EQ(t.errors.at(0), std::string(kRecordChanged) + record + "\r\n" + kRecordSetAside + record + ".1");
    EXPECT_EQ(t.Contents(record), planted);
  }
}

// With the documented defaults there is no record: neither entry nor shortcut.
TEST(RecordKeeping, WithoutARecordPathNoUninstallEntryOrShortcutIsMade) {
  RunSetup t;
  t.process.installRecordPath = "";
  t.Install(Script());
  EXPECT_FALSE(t.m.registry.KeyExists(platform::RootKey::LocalMachine, std::string(kUninstallKey) + "Lumbra v2026",
                                        platform::RegView::Wow32));
  EXPECT_FALSE(t.m.files.FileExists("C:\\Menu\\Programs\\Uninstall Lumbra v2026.lnk"));
  EXPECT_NE(t.Contents("C:\\TEMP\\belloro-installer.log").find("UnInstallLogFile names no"), std::string::npos);
}

}  // namespace
}  // namespace ostravel::engine::testing
