// With [Configuration] RollbackOnFailure a run that fails after it changed the
// machine leaves it as it found it, before the error page says so.
#include "base/md5.h"
#include "installer/engine/install_run.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/registry_entries.h"
#include "installer/script/setup_script.h"
#include "tests/unit/engine/run_test_support.h"

namespace ostravel::engine::testing {
namespace {

const char* const kShared = "C:\\App\\lib\\shared.dll";

// Version v of the product: a.exe and lib\shared.dll change with it, version 2
// brings lib\new.dll and a key of its own and points the shortcut elsewhere.
struct Undo : RunSetup {
  void Run(int v, bool rollback, const std::function<void(Undo&)>& fault = nullptr) {
    members = {{"a.exe", "a" + std::to_string(v)},
               {"shared.dll", v == 1 ? "s1" : archive_testing::TestContent(40000, false, 2)}};
    Script s;
    s.File(1, "a.exe", "C:\\App\\a.exe").File(2, "shared.dll", kShared);
    s.Set("Registry", "Count", v == 2 ? "2" : "1").Set("Registry", "Reg1.SubKey", "Software\\Belloro\\Lumbra");
    s.Set("Registry", "Reg1.ValueName", "Version").Set("Registry", "Reg1.ValueData", std::to_string(v));
    s.Set("Registry", "Reg1.CreateKey", "1").Set("Registry", "Reg1.OverwriteValue", "1");
    if (v == 2) {
      members.push_back({"new.dll", "n2"});
      s.File(3, "new.dll", "C:\\App\\lib\\new.dll");
      s.Set("Registry", "Reg2.SubKey", "Software\\Belloro\\Lumbra\\Extra").Set("Registry", "Reg2.ValueName", "X");
      s.Set("Registry", "Reg2.CreateKey", "1");
    }
    for (size_t i = 0; i < members.size(); ++i)
      s.Set("Files", "File" + std::to_string(i + 1) + ".MD5HashInfo", Md5Hex(members[i].second));
    const std::string program = v == 1 ? "C:\\App\\a.exe" : kShared;
    s.Set("Icons", "Count", "1").Set("Icons", "Icon1.Placement", "$UserPrograms$\\Lumbra");
    s.Set("Icons", "Icon1.Title", "Lumbra").Set("Icons", "Icon1.File", program).Set("Icons", "Icon1.IconFile", program);
    if (rollback) s.Set("Configuration", "RollbackOnFailure", "1");
    Pack("data1", members);
    WriteScript(s);
    record.clear();
    errors.clear();
    choices.installStartTime.day = v;
    variables.SetCurrentDestination(choices.destination);
    if (fault) fault(*this);
    Go();
  }
  // The machine's files (but the medium and the diagnostic log) and registry.
  std::string Files() {
    return m.files.Dump(
        [](const std::string& path) { return !StartsWith(path, "D:\\") && !StartsWith(path, "C:\\TEMP"); });
  }
  std::string State() { return Files() + m.registry.Dump(); }
  // Strikes once, when the extraction reaches a.exe.
  void AtFirstFile(std::function<void()> fault) {
    progress.onFileLabel = [this, fault](const std::string& label) {
      if (label.find("a.exe") == std::string::npos || !progress.onFileLabel) return;
      fault();
      progress.onFileLabel = nullptr;
    };
  }
  // The first volume holds a.exe and shared.dll, the second is not there.
  void SplitArchive() {
    archive_testing::ArchiveBytes a;
    a.Header(1000).Member("a.exe", kPackTime, members[0].second).Member("shared.dll", kPackTime, members[1].second);
    m.files.AddFile("D:\\Setup\\data1.dat", a.Name("NEXT:DISK002").str());
  }
  void CutArchive() {
    const std::string pack = Contents("D:\\Setup\\data1.dat");
    m.files.AddFile("D:\\Setup\\data1.dat", pack.substr(0, pack.size() - 6));
  }
  std::vector<std::pair<std::string, std::string>> members;
};

TEST(RollbackOnFailure, AFailedUpdateLeavesTheInstallationBeforeIt) {
  struct Case {
    const char* name;
    std::function<void(Undo&)> fault;  // just before the run of version 2
    bool errorWithoutKey = true;       // a refused disk is none: the run goes on short
  };
  const Case cases[] = {
      // Something else made a folder of that name; it goes away before the comparison.
      {"a file that cannot be written",
       [](Undo& t) { t.AtFirstFile([&t] { t.m.files.CreateDirectories("C:\\App\\lib\\new.dll"); }); }},
      {"an archive error", [](Undo& t) { t.CutArchive(); }},
      {"a file locked late", [](Undo& t) { t.AtFirstFile([&t] { t.m.files.Lock(kShared); }); }},
      {"a full disk", [](Undo& t) { t.AtFirstFile([&t] { t.m.files.SetCapacity(t.Used() + 20000); }); }},
      {"the next disk refused",
       [](Undo& t) {
         t.SplitArchive();
         t.dialogs.answers = {ui::mrCancel};
       },
       false},
  };
  // Without the key the same fault leaves version 2 half installed, as it always did.
  for (const Case& c : cases)
    for (bool rollback : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (rollback ? "" : ", without the key"));
      Undo t;
      t.Run(1, false);
      ASSERT_TRUE(t.errors.empty());
      const std::string before = t.State();
      t.Run(2, rollback, c.fault);
      t.m.files.RemoveDirectory("C:\\App\\lib\\new.dll");
      ASSERT_EQ(t.errors.empty(), !rollback && !c.errorWithoutKey);
      EXPECT_EQ(!t.errors.empty() && t.errors.back() == kDefaultRolledBackInfo, rollback);
      EXPECT_EQ(t.State() == before, rollback);
      EXPECT_EQ(t.Contents("C:\\App\\a.exe"), rollback ? "a1" : "a2");
      if (!rollback) continue;
      EXPECT_EQ(t.end, RunEnd::Stopped);
      EXPECT_NE(t.Contents(t.log.LogPath()).find("Undo: put back the file C:\\App\\a.exe"), std::string::npos);
    }
}

// A first installation that fails leaves nothing behind, its record included; a
// run that goes well keeps no backups nobody asked for.
TEST(RollbackOnFailure, AFailedFirstInstallationLeavesNothingAndOneThatWorksNoBackups) {
  Undo t;
  const std::string empty = t.Files();
  t.Run(2, true, [](Undo& u) { u.CutArchive(); });
  ASSERT_FALSE(t.errors.empty());
  EXPECT_EQ(t.errors.back(), kDefaultRolledBackInfo);
  EXPECT_EQ(t.Files(), empty);
  // Values go with their keys; the server step's compatibility flags are not the run's record's.
  for (const std::string& key : {std::string("Software\\Belloro\\Lumbra"), std::string(kUninstallKey) + "Lumbra v2026",
                                 std::string(kRecordDigestKey)})
    EXPECT_TRUE(t.m.registry.ValueNames(platform::RootKey::LocalMachine, key, platform::RegView::Wow32).empty() &&
                t.m.registry.ValueNames(platform::RootKey::CurrentUser, key, platform::RegView::Wow32).empty())
        << key;

  t.Run(1, true);
  t.Run(2, true);
  ASSERT_TRUE(t.errors.empty());
  EXPECT_EQ(t.Contents("C:\\App\\a.exe"), "a2");
  EXPECT_FALSE(t.m.files.DirectoryExists("C:\\App\\uninstall.log.backups"));
  EXPECT_EQ(t.Contents(t.process.installRecordPath).find("Backup "), std::string::npos);
}

}  // namespace
}  // namespace ostravel::engine::testing
