#include "base/text.h"
#include "installer/engine/finish_install.h"
#include "installer/engine/install_record.h"
#include "tests/unit/engine/run_test_support.h"

namespace ostravel::engine::testing {
namespace {

TEST(InstallRecordReader, PassesOverWhatNamesNoAction) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;  // kind:value;...
  };
  auto flat = [](const std::vector<UninstallAction>& actions) {
    std::string s;
    for (const auto& a : actions) s += std::to_string(int(a.kind)) + ":" + a.value + ";";
    return s;
  };
  const Case cases[] = {
      {"split at the first colon", "Copy File: D:\\Program Files\\x.exe\r\n", "1:D:\\Program Files\\x.exe;"},
      {"every kind", "Make Dir: C:\\A\nClone File: C:\\A\\c\rCreate Icon: C:\\A\\i.lnk\r\nCreate Reg Key: HKEY_USERS;K\r\n"
                     "Write Reg Value: HKEY_USERS;K;v;w\r\n", "0:C:\\A;1:C:\\A\\c;2:C:\\A\\i.lnk;3:HKEY_USERS;K;4:HKEY_USERS;K;v;w;"},
      // Only a line that begins with "[" starts a block; "]" may end a path or a value name.
      {"block lines and bracketed values", "[Copy File: C:\\x]\r\nMake Dir: C:\\Adatok [2]\r\nTitle: Copy File\r\n"
       "Write Reg Value: HKEY_USERS;K;v]\r\n", "0:C:\\Adatok [2];4:HKEY_USERS;K;v];"},
      {"no colon, unknown label, empty value", "Copy File C:\\x\r\nCopy Files: C:\\x\r\ncopy file: C:\\x\r\nMake Dir:  \r\n", ""},
      {"relative or rooted paths never", "Copy File: x.dll\r\nCopy File: \\x.dll\r\nMake Dir: C:\r\nMake Dir: C:\\\r\n", ""},
      {"normalised", "Make Dir: C:\\A\\B\\..\\\r\nCopy File: C:/A//f\r\n", "0:C:\\A;1:C:\\A\\f;"},
      {"binary", std::string("Copy File: C:\\a\0b\r\n\xff\xfe\x01Make Dir: C:\\x\x02\r\n", 39), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(flat(ParseInstallRecord(c.text)), c.expected);
  }
  std::string big;
  for (int i = 0; i < 100000; ++i) big += i % 2 ? "garbage line " + std::to_string(i) + "\r\n" : "Copy File: C:\\f\r\n";
  EXPECT_EQ(ParseInstallRecord(big).size(), 50000u);
  EXPECT_EQ(ParseInstallRecord("[1]\r\nMake Dir: C:\\new\r\n[0]\r\nMake Dir: C:\\old\r\n", false).size(), 1u);
  platform::MemoryFileSystem none;
  EXPECT_TRUE(ReadInstallRecord(none, "C:\\missing.log").empty());
}

TEST(InstallRecordWriter, OneBlockPerInstallationNewestFirst) {
  platform::MemoryFileSystem fs;
  const std::string path = "C:\\Logs\\deep\\u.log";
  RecordBlockHeader first{{2026, 1, 2, 3, 4, 6, 0}, "D:\\Setup", "App v1"};
  RecordBlockHeader second{{2026, 2, 2, 3, 4, 6, 0}, "D:\\Setup", "App v1"};
  model::InstallRecordEntries entries{{model::RecordAction::MakeDir, "C:\\A"}};
  ASSERT_TRUE(SaveInstallRecordBlock(fs, path, first, entries));
  entries.push_back({model::RecordAction::CopyFile, "C:\\A\\f"});
  ASSERT_TRUE(SaveInstallRecordBlock(fs, path, first, entries));  // the same installation, later
  ASSERT_TRUE(SaveInstallRecordBlock(fs, path, second, {{model::RecordAction::CreateIcon, "C:\\i.lnk"}}));
  ASSERT_TRUE(SaveInstallRecordBlock(fs, path, first, entries));  // its final save keeps its place
  const std::string text = *fs.Contents(path);
  EXPECT_EQ(text,
            "[46055.1278472222]\r\nInstallation Started: 2026.02.02 03:04:06\r\nSource: D:\\Setup\r\nTitle: App v1\r\n"
            "Create Icon: C:\\i.lnk\r\n"
            "[46024.1278472222]\r\nInstallation Started: 2026.01.02 03:04:06\r\nSource: D:\\Setup\r\nTitle: App v1\r\n"
            "Make Dir: C:\\A\r\nCopy File: C:\\A\\f\r\n");
  fs.SetAttributes(path, platform::kAttrReadOnly);
  EXPECT_FALSE(SaveInstallRecordBlock(fs, path, first, entries));
  EXPECT_EQ(*fs.Contents(path), text);
}

using UninstallTest = RunTest;

TEST_F(UninstallTest, RemovesWhatTheRecordListsAndNothingElse) {
  m.files.AddFile("C:\\App\\old\\keep.txt", "the user's");
  m.registry.Set(platform::RootKey::CurrentUser, "Software\\Foreign", "v", "x");
  record.push_back({model::RecordAction::MakeDir, "C:\\App"});
  Pack("data1", {{"a", "a"}, {"b", "b"}, {"c", "c"}});
  Script s;
  s.File(1, "a", "C:\\App\\bin\\deep\\a.exe", 0, ".ReadOnly=1")
      .File(2, "b", "C:\\App\\old\\b.txt", 0, ".Hidden=1")
      .File(3, "c", "C:\\App\\c.txt")
      .Set("Registry", "Count", "2")
      .Set("Registry", "Reg1.SubKey", "Software\\Belloro\\Lumbra\\Sub")
      .Set("Registry", "Reg1.ValueName", "x")
      .Set("Registry", "Reg1.CreateKey", "1")
      .Set("Registry", "Reg2.SubKey", "Software\\Foreign")
      .Set("Registry", "Reg2.ValueName", "mine")
      .Set("Registry", "Reg2.ValueData", "1");
  Install(s);
  FinishInstallation(*std::make_unique<RunContext>(Context()));
  ASSERT_TRUE(errors.empty());
  ASSERT_TRUE(m.files.FileExists("C:\\App\\bin\\deep\\a.exe"));

  // The uninstaller, started from the shared copy with the record.
  process.switches.uninstall = true;
  process.sourceFolder = "C:\\Common\\Quillmarch Shared\\";
  Go();
  std::vector<std::string> left;
  for (const auto& f : m.files.AllFiles())
    if (StartsWith(f, "C:\\App")) left.push_back(f);
  EXPECT_EQ(JoinLines(left, ";"), "C:\\App\\old\\keep.txt;");
  EXPECT_FALSE(m.files.DirectoryExists("C:\\App\\bin\\deep"));
  EXPECT_FALSE(m.files.DirectoryExists("C:\\App\\bin"));  // made with "deep" at once: recorded too
  EXPECT_FALSE(m.registry.KeyExists(platform::RootKey::CurrentUser, "Software\\Belloro\\Lumbra\\Sub", platform::RegView::Wow32));
  EXPECT_NE(m.registry.Get(platform::RootKey::CurrentUser, "Software\\Foreign", "v"), nullptr);
  EXPECT_EQ(m.registry.Get(platform::RootKey::CurrentUser, "Software\\Foreign", "mine"), nullptr);
  EXPECT_FALSE(m.registry.KeyExists(platform::RootKey::LocalMachine,
                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumbra v2026",
                                    platform::RegView::Wow32));
  EXPECT_TRUE(m.files.FileExists("C:\\Common\\Quillmarch Shared\\setup.exe"));  // the documents keep it
  EXPECT_EQ(progress.statuses.back(), "Uninstalling ...");
  EXPECT_EQ(end, RunEnd::Success);
}

TEST_F(UninstallTest, ADamagedRecordNeverTakesAWholeTopLevelKey) {
  m.registry.Set(platform::RootKey::LocalMachine, "Software\\Vendor\\App", "v", "x");
  m.files.AddFile(process.installRecordPath,
                  "Create Reg Key: HKEY_LOCAL_MACHINE;Software\r\nCreate Reg Key: HKEY_LOCAL_MACHINE;\\Software\\\r\n"
                  "Create Reg Key: HKEY_LOCAL_MACHINE;\r\nCreate Reg Key: HKEY_NOWHERE;Software\\Vendor\r\n");
  process.switches.uninstall = true;
  Go();
  EXPECT_NE(m.registry.Get(platform::RootKey::LocalMachine, "Software\\Vendor\\App", "v"), nullptr);
  EXPECT_FALSE(m.files.FileExists(process.installRecordPath));
}

}  // namespace
}  // namespace ostravel::engine::testing
