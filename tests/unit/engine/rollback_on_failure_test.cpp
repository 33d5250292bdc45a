// With [Configuration] RollbackOnFailure a run that fails after it changed the
// machine leaves it as it found it, and the error page says so.
#include "base/md5.h"
#include "installer/engine/install_run.h"
#include "installer/engine/registry_entries.h"
#include "installer/engine/unfinished_run.h"
#include "installer/script/setup_script.h"
#include "tests/unit/engine/run_test_support.h"

namespace ostravel::engine::testing {
namespace {

// Version v: a.exe and lib\shared.dll change with it, version 2 brings lib\new.dll
// and a key of its own and points the shortcut elsewhere.
struct Undo : RunSetup {
  Undo() {
    m.registry.Set(platform::RootKey::CurrentUser,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Fonts", "C:\\Fonts");
    m.files.CreateDirectories("C:\\Fonts");
  }
  void Run(int v, bool rollback, const std::function<void(Undo&)>& fault = nullptr) {
    const std::string shared = v == 1 ? "s1" : archive_testing::TestContent(40000, false, 2);
    members = {{"a.exe", "a" + std::to_string(v)}, {"shared.dll", shared}, {"new.dll", "n2"}};
    members.resize(size_t(v) + 1);
    const char* targets[] = {"C:\\App\\a.exe", "C:\\App\\lib\\shared.dll", "C:\\App\\lib\\new.dll"};
    Script s;
    for (int i = 1; i <= int(members.size()); ++i)
      s.File(i, members[i - 1].first, targets[i - 1], 0, ".MD5HashInfo=" + Md5Hex(members[i - 1].second));
    for (int r = 1; r <= v; ++r) {
      const std::string k = "Reg" + std::to_string(r), key = r == 1 ? "Lumbra" : "Lumbra\\Extra";
      s.Set("Registry", "Count", std::to_string(r)).Set("Registry", k + ".SubKey", "Software\\Belloro\\" + key);
      s.Set("Registry", k + ".ValueName", "V").Set("Registry", k + ".ValueData", std::to_string(v));
      s.Set("Registry", k + ".CreateKey", "1").Set("Registry", k + ".OverwriteValue", "1");
    }
    s.Set("Icons", "Count", "1").Set("Icons", "Icon1.Placement", "$UserPrograms$\\Lumbra");
    s.Set("Icons", "Icon1.Title", "Lumbra").Set("Icons", "Icon1.File", targets[v - 1]);
    if (v == 2) s.Set("Fonts", "Count", "1").Set("Fonts", "Font0.FontName", "Lumbra Sans");
    if (v == 2) s.Set("Fonts", "Font0.FontFile", targets[2]);  // stands in for a font file
    if (rollback) s.Set("Configuration", "RollbackOnFailure", "1");
    Pack("data1", members);
    WriteScript(s);
    record.clear(), errors.clear();
    choices.installStartTime.day = v;
    if (fault) fault(*this);
    Go();
  }
  // Every folder and file but the medium's and the diagnostic log.
  std::string Files() {
    return m.files.Dump([](const std::string& p) { return !StartsWith(p, "D:\\") && !StartsWith(p, "C:\\TEMP"); });
  }
  // Strikes once, when the extraction reaches a.exe.
  void AtFirstFile(std::function<void()> fault) {
    progress.onFileLabel = [this, fault](const std::string& label) {
      if (label.find("a.exe") != std::string::npos && progress.onFileLabel) fault(), progress.onFileLabel = nullptr;
    };
  }
  void Archive(const std::string& bytes) { m.files.AddFile("D:\\Setup\\data1.dat", bytes); }
  // The files and the registry but the database server's compatibility settings,
  // which the server's road rewrites on every run and no record lists.
  std::string State() {
    std::string state;
    for (const std::string& line : SplitLines(Files() + m.registry.Dump()))
      if (line.find("\\Firebird_2_5\\bin\\") == std::string::npos) state += line + "\n";
    return state;
  }
  // The machine stops dead after `changes` more changes, as when the process is killed.
  void KillAfter(int changes) {
    left = changes;
    m.files.mayChange = m.registry.mayChange = [this] { return left-- > 0; };
  }
  void Revive() { m.files.mayChange = m.registry.mayChange = nullptr; }
  // The shared uninstaller, Full Uninstall.
  void Uninstall() {
    process.switches.uninstall = true;
    process.scriptPath = "C:\\Common\\Quillmarch Shared\\Lumbra v2026\\setup.inf";
    choices.uninstallKindIndex = 0;
    record.clear(), errors.clear();
    Go();
  }
  int left = 0;
  std::vector<std::pair<std::string, std::string>> members;
};

TEST(RollbackOnFailure, AFailedUpdateLeavesTheInstallationBeforeIt) {
  const std::pair<const char*, std::function<void(Undo&)>> cases[] = {
      // Something else made a folder of that name; it goes before the comparison.
      {"a file that cannot be written",
       [](Undo& t) { t.AtFirstFile([&t] { t.m.files.CreateDirectories("C:\\App\\lib\\new.dll"); }); }},
      {"an archive error", [](Undo& t) { t.Archive(t.Contents("D:\\Setup\\data1.dat").substr(0, 40000)); }},
      {"a file locked late", [](Undo& t) { t.AtFirstFile([&t] { t.m.files.Lock("C:\\App\\lib\\shared.dll"); }); }},
      // Held with no sharing: it can be neither written nor read, only found.
      {"a file held open late",
       [](Undo& t) {
         t.AtFirstFile([&t] {
           t.m.files.Lock("C:\\App\\lib\\shared.dll");
           t.m.files.DenyReading("C:\\App\\lib\\shared.dll");
         });
       }},
      {"a full disk", [](Undo& t) { t.AtFirstFile([&t] { t.m.files.SetCapacity(t.Used() + 20000); }); }},
      {"the next disk refused",
       [](Undo& t) {
         archive_testing::ArchiveBytes a;
         a.Header(1000).Member("a.exe", t.kPackTime, "a2").Member("shared.dll", t.kPackTime, t.members[1].second);
         t.Archive(a.Name("NEXT:DISK002").str());
         t.dialogs.answers = {ui::mrCancel};
       }},
  };
  // Without the key the same fault leaves version 2 half installed, as it always did.
  for (const auto& [name, fault] : cases)
    for (bool rollback : {true, false}) {
      SCOPED_TRACE(std::string(name) + (rollback ? "" : ", without the key"));
      Undo t;
      t.Run(1, false);
      const std::string before = t.Files() + t.m.registry.Dump();
      t.Run(2, rollback, fault);
      t.m.files.RemoveDirectory("C:\\App\\lib\\new.dll");
      EXPECT_EQ(t.Files() + t.m.registry.Dump() == before, rollback);
      EXPECT_EQ(t.Contents("C:\\App\\a.exe"), rollback ? "a1" : "a2");
      if (!rollback) continue;
      ASSERT_GE(t.errors.size(), 2u);
      EXPECT_EQ(t.errors.back(), kDefaultRolledBackInfo);
      EXPECT_NE(t.Contents(t.log.LogPath()).find("Undo: put back the file C:\\App\\a.exe"), std::string::npos);
    }
}

// A first installation that fails leaves nothing behind, its record included; a
// run that goes well keeps no backups nobody asked for.
TEST(RollbackOnFailure, AFailedFirstInstallationLeavesNothingAndOneThatWorksNoBackups) {
  Undo t;
  const std::string empty = t.Files();
  t.Run(2, true, [](Undo& u) { u.Archive(u.Contents("D:\\Setup\\data1.dat").substr(0, 40000)); });
  EXPECT_EQ(t.errors.back(), kDefaultRolledBackInfo);
  EXPECT_EQ(t.Files(), empty);
  EXPECT_EQ(t.m.registry.Get(platform::RootKey::CurrentUser, "Software\\Belloro\\Lumbra", "V"), nullptr);
  EXPECT_EQ(
      t.m.registry.Get(platform::RootKey::LocalMachine, std::string(kUninstallKey) + "Lumbra v2026", "DisplayName"),
      nullptr);
  t.Run(1, true);
  t.Run(2, true);
  ASSERT_TRUE(t.errors.empty());
  // A file that cannot be put back: the page must not say the machine is as it was.
  t.Run(2, true, [](Undo& u) {
    u.progress.onFileLabel = [&u](const std::string& label) {
      if (label.find("shared.dll") == std::string::npos || !u.progress.onFileLabel) return;
      u.m.files.Lock("C:\\App\\a.exe");
      u.m.files.SetCapacity(u.Used());
      u.progress.onFileLabel = nullptr;
    };
  });
  EXPECT_EQ(t.errors.back(), kRollbackIncomplete);
  EXPECT_FALSE(t.m.files.DirectoryExists("C:\\App\\uninstall.log.backups"));
  EXPECT_EQ(t.Contents(t.process.installRecordPath).find("Backup "), std::string::npos);
}

// Killed after any change it makes, an update with the key is undone by the next
// start, whatever the kill cut short: the extraction, a record save, the undo of a
// failure or the removal of its backups. Without the key the next start says which
// kind repairs the installation, once.
TEST(RollbackOnFailure, ARunKilledAfterAnyChangeIsUndoneByTheNextStart) {
  Undo counted;
  counted.Run(1, false);
  counted.KillAfter(1 << 30);
  counted.Run(2, true);
  const int changes = (1 << 30) - counted.left;
  const std::string installed = counted.State();
  ASSERT_GT(changes, 30);
  ASSERT_NE(installed.find("C:\\Fonts\\new.dll"), std::string::npos);  // the font the update adds
  const std::string record = "C:\\App\\uninstall.log";
  for (int k = 0; k <= changes; ++k)
    for (bool failing : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "killed after " << k << " changes" << (failing ? ", failing" : ""));
      Undo t;
      t.Run(1, false);
      const std::string before = t.State();
      try {  // what a dead process goes on to do does not matter
        t.Run(2, true, [k, failing](Undo& u) {
          if (failing) u.Archive(u.Contents("D:\\Setup\\data1.dat").substr(0, 40000));
          u.KillAfter(k);
        });
      } catch (...) {
      }
      t.Revive();
      RunContext next = t.Context();
      const Recovery r = RecoverUnfinishedRun(next, {}, record);
      EXPECT_NE(r, Recovery::UndoIncomplete) << t.Contents(t.log.LogPath());
      if (t.State() != installed || failing) {
        EXPECT_EQ(t.State(), before);
      }
      if (HasFailure()) return;
    }
  // Without the key: told once, nothing changed by the telling but the mark.
  Undo t;
  t.Run(1, false);
  try {
    t.Run(2, false, [changes](Undo& u) { u.KillAfter(changes / 2); });
  } catch (...) {
  }
  t.Revive();
  RunContext next = t.Context();
  EXPECT_EQ(RecoverUnfinishedRun(next, {}, record), Recovery::Reported);
  EXPECT_EQ(RecoverUnfinishedRun(next, {}, record), Recovery::None);
  ASSERT_EQ(t.dialogs.shown.size(), 1u);
  EXPECT_EQ(t.dialogs.shown[0].rfind(kUnfinishedRunFound, 0), 0u);
  EXPECT_EQ(t.Contents(record).find("Unfinished"), std::string::npos);
}

// The uninstaller started after the kill undoes the cut run first, then removes the
// installation before it as if the update had never been tried.
TEST(RollbackOnFailure, TheUninstallerUndoesAKilledRunBeforeItsKind) {
  Undo expected;
  expected.Run(1, false);
  expected.Uninstall();
  ASSERT_FALSE(expected.m.files.FileExists("C:\\App\\a.exe"));
  Undo t;
  t.Run(1, false);
  try {
    t.Run(2, true, [](Undo& u) { u.KillAfter(40); });
  } catch (...) {
  }
  t.Revive();
  ASSERT_NE(t.Contents("C:\\App\\uninstall.log").find("Unfinished Run: Undo"), std::string::npos);
  t.Uninstall();
  EXPECT_EQ(t.State(), expected.State());
  EXPECT_NE(t.Contents(t.log.LogPath()).find("did not finish: undoing it"), std::string::npos);
}

}  // namespace
}  // namespace ostravel::engine::testing
