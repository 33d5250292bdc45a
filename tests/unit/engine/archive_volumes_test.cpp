#include <gtest/gtest.h>

#include "installer/engine/archive_backup_file.h"
#include "installer/platform/fake/memory_file_system.h"
#include "tests/unit/engine/archive_test_support.h"

namespace ostravel::engine {
namespace {

using platform::MemoryFileSystem;
using archive_testing::ArchiveBytes;
using archive_testing::TestContent;

const int32_t kTime = int32_t(PackDosDateTime({2004, 5, 6, 7, 8, 10, 0}));

// data1.dat holds "C:\a" whole and the first part of "C:\split"; data1.002 the rest
// of it and "C:\b"; data1.003 an empty continuation and "C:\c".
class ArchiveVolumes : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  TBackupFile backup{fs};
  std::vector<std::string> events;
  std::string first = TestContent(20000, true, 1), second = TestContent(9000, false, 2);

  void SetUp() override {
    ArchiveBytes v1, v2, v3;
    v1.Header(int32_t(first.size() + second.size() + 3))
        .Member("C:\\a", kTime, "a")
        .Entry("C:\\split", kTime)
        .Magic()
        .Compressed(first.substr(0, 16384))
        .Compressed(first.substr(16384))
        .End()
        .Name("NEXT:DISK002");
    v2.Magic().Stored(second).End().Member("C:\\b", kTime, "b").Name("NEXT:DISK003");
    v3.Magic().End().Member("C:\\c", kTime, "c").End();
    fs.AddFile("A:\\data1.dat", v1.str());
    fs.AddFile("A:\\data1.002", v2.str());
    fs.AddFile("A:\\data1.003", v3.str());
    backup.OnNeedDisk = [this](TBackupFile& sender, uint16_t disk, bool&) {
      EXPECT_TRUE(sender.Busy());
      events.push_back("disk " + std::to_string(disk));
    };
    backup.OnFileRestored = [this](TBackupFile&, std::string& name, platform::OutputFile&) {
      events.push_back("restored " + name);
    };
    backup.OnError = [this](TBackupFile&, int code, const std::string&) { events.push_back("error " + std::to_string(code)); };
  }
};

TEST_F(ArchiveVolumes, MemberContinuesOnTheNextVolume) {
  ASSERT_TRUE(backup.Restore("A:\\data1.dat", "D:\\Out"));
  EXPECT_EQ(fs.Contents("D:\\Out\\split"), first + second);
  EXPECT_EQ(fs.Find("D:\\Out\\split")->dosTime, uint32_t(kTime));
  EXPECT_EQ(fs.Contents("D:\\Out\\c"), "c");
  EXPECT_EQ(events, (std::vector<std::string>{"restored D:\\Out\\a", "restored D:\\Out\\split", "disk 2",
                                              "restored D:\\Out\\split", "restored D:\\Out\\b", "disk 3",
                                              "restored D:\\Out\\b", "restored D:\\Out\\c"}));
  EXPECT_EQ(backup.ProcessedBytes(), int64_t(first.size() + second.size() + 3));
}

TEST_F(ArchiveVolumes, SkippedMemberIsSkippedOnBothVolumes) {
  backup.OnRestoreFile = [](TBackupFile&, std::string& name, int32_t, bool& write) { write = name != "D:\\Out\\split"; };
  ASSERT_TRUE(backup.Restore("A:\\data1.dat", "D:\\Out"));
  EXPECT_FALSE(fs.Contents("D:\\Out\\split"));
  EXPECT_EQ(fs.Contents("D:\\Out\\b"), "b");
}

TEST_F(ArchiveVolumes, CancellingThePromptStopsWithoutError) {
  backup.OnNeedDisk = [this](TBackupFile&, uint16_t disk, bool& cont) {
    events.push_back("disk " + std::to_string(disk));
    cont = false;
  };
  EXPECT_FALSE(backup.Restore("A:\\data1.dat", "D:\\Out"));
  EXPECT_EQ(events, (std::vector<std::string>{"restored D:\\Out\\a", "restored D:\\Out\\split", "disk 2"}));
  EXPECT_EQ(fs.Contents("D:\\Out\\split"), first);
}

TEST_F(ArchiveVolumes, PromptRepeatsUntilTheVolumeIsThere) {
  std::string v2 = *fs.Contents("A:\\data1.002");
  fs.DeleteFile("A:\\data1.002");
  int asked = 0;
  backup.OnNeedDisk = [&](TBackupFile&, uint16_t, bool&) {
    if (++asked == 3) fs.AddFile("A:\\data1.002", v2);
  };
  ASSERT_TRUE(backup.Restore("A:\\data1.dat", "D:\\Out"));
  EXPECT_EQ(asked, 4);  // three for disk 2, one for disk 3
  EXPECT_EQ(fs.Contents("D:\\Out\\split"), first + second);
}

TEST_F(ArchiveVolumes, WithoutHandlerTheUserIsAsked) {
  backup.OnNeedDisk = nullptr;
  std::vector<std::string> asked;
  backup.ConfirmDisk = [&](const std::string& text) {
    asked.push_back(text);
    return asked.size() == 1;
  };
  EXPECT_FALSE(backup.Restore("A:\\data1.dat", "D:\\Out"));
  EXPECT_EQ(asked, (std::vector<std::string>{"Please insert disk 2 and click OK to continue.",
                                             "Please insert disk 3 and click OK to continue."}));
  EXPECT_EQ(fs.Contents("D:\\Out\\b"), "b");
  EXPECT_FALSE(fs.Contents("D:\\Out\\c"));
  backup.ConfirmDisk = nullptr;  // nobody to ask: as cancelled
  EXPECT_FALSE(backup.Restore("A:\\data1.dat", "D:\\Out"));
}

TEST_F(ArchiveVolumes, DamagedVolumesRaise) {
  struct Case {
    const char* what;
    std::string path, content, raised;
  } cases[] = {
      {"continuation with bad magic", "A:\\data1.002", std::string("XX2\0", 4), "Invalid archive type"},
      {"empty next volume", "A:\\data1.002", "", "Cannot read archive"},
      {"marker pointing back", "A:\\data1.002", ArchiveBytes().Magic().End().Name("NEXT:DISK002").str(),
       "Invalid archive type"},
      {"marker without digits", "A:\\data1.002", ArchiveBytes().Magic().End().Name("NEXT:DISK").str(),
       "Invalid archive type"},
      {"marker with letters", "A:\\data1.002", ArchiveBytes().Magic().End().Name("NEXT:DISK0x3").str(),
       "Invalid archive type"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    fs.AddFile(c.path, c.content);
    try {
      backup.Restore("A:\\data1.dat", "D:\\Out");
      ADD_FAILURE() << "nothing raised";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(std::string(e.what()), c.raised);
    }
    EXPECT_EQ(fs.Contents("D:\\Out\\a"), "a");
  }
}

TEST_F(ArchiveVolumes, ContinuationBeforeAnyMemberIsPassedOver) {
  fs.AddFile("A:\\lead.dat", ArchiveBytes().Header(1).Name("NEXT:DISK002").str());
  fs.AddFile("A:\\lead.002", ArchiveBytes().Magic().Stored("orphan").End().Member("C:\\m", kTime, "m").End().str());
  ASSERT_TRUE(backup.Restore("A:\\lead.dat", "D:\\Out"));
  EXPECT_EQ(fs.Contents("D:\\Out\\m"), "m");
  EXPECT_EQ(events, (std::vector<std::string>{"disk 2", "restored D:\\Out\\m"}));
}

TEST_F(ArchiveVolumes, VolumeNamesReplaceTheExtension) {
  EXPECT_EQ(ArchiveVolumePath("A:\\data1.dat", "002"), "A:\\data1.002");
  EXPECT_EQ(ArchiveVolumePath("A:\\dir.v1\\pack", "013"), "A:\\dir.v1\\pack.013");
  EXPECT_EQ(ArchiveVolumePath("A:\\a.b.dat", "999"), "A:\\a.b.999");
  EXPECT_EQ(ArchiveVolumeMarker(2), "NEXT:DISK002");
}

}  // namespace
}  // namespace ostravel::engine
