#include <gtest/gtest.h>

#include "installer/engine/archive_backup_file.h"
#include "installer/platform/fake/memory_file_system.h"
#include "tests/unit/engine/archive_test_support.h"

namespace ostravel::engine {
namespace {

using platform::MemoryFileSystem;
using archive_testing::ArchiveBytes;
using archive_testing::TestContent;

const int32_t kOld = int32_t(PackDosDateTime({2001, 2, 3, 4, 5, 6, 0}));
const int32_t kNew = int32_t(PackDosDateTime({2011, 2, 3, 4, 5, 6, 0}));

class ArchiveReader : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  TBackupFile backup{fs};
  std::vector<std::string> events;
  std::vector<int> percents;

  void Record() {
    backup.OnRestoreFile = [this](TBackupFile&, std::string& name, int32_t, bool& write) {
      events.push_back("restore " + name + (write ? " write" : " skip"));
    };
    backup.OnFileRestored = [this](TBackupFile&, std::string& name, platform::OutputFile&) {
      events.push_back("restored " + name);
    };
    backup.OnProgress = [this](TBackupFile&, const std::string& name, int percent, bool&) {
      percents.push_back(percent);
      if (name.empty()) events.push_back("progress " + std::to_string(percent));
    };
    backup.OnError = [this](TBackupFile&, int code, const std::string& text) {
      events.push_back("error " + std::to_string(code) + " " + text);
    };
    backup.OnNeedDisk = [this](TBackupFile&, uint16_t disk, bool&) { events.push_back("disk " + std::to_string(disk)); };
  }

  bool Extract(const std::string& bytes, const std::string& destination = "D:\\Out") {
    fs.AddFile("A:\\data1.dat", bytes);
    return backup.Restore("A:\\data1.dat", destination);
  }

  // The text of the ArchiveError the extraction raises; empty when none.
  std::string ExtractError(const std::string& bytes) {
    try {
      Extract(bytes);
    } catch (const ArchiveError& e) {
      EXPECT_FALSE(backup.Busy());
      return e.what();
    }
    return "";
  }
};

TEST_F(ArchiveReader, EmptyArchiveEndsWithFullProgress) {
  Record();
  EXPECT_TRUE(Extract(ArchiveBytes().Header(0).End().str()));
  EXPECT_EQ(events, std::vector<std::string>{"progress 100"});
  EXPECT_TRUE(fs.AllFiles().size() == 1);  // only the archive
  EXPECT_FALSE(backup.Busy());
}

TEST_F(ArchiveReader, MissingArchiveReturnsFalseSilently) {
  Record();
  EXPECT_FALSE(backup.Restore("A:\\none.dat", "D:\\Out"));
  EXPECT_TRUE(events.empty());
}

TEST_F(ArchiveReader, StoredAndCompressedBlocksGiveTheSameFile) {
  std::string data = TestContent(40000, true);
  ArchiveBytes bytes;
  bytes.Header(2 * 40000).Member("C:\\a\\stored.txt", kOld, data, false).Member("C:\\b\\packed.txt", kOld, data, true);
  ASSERT_TRUE(Extract(bytes.End().str()));
  EXPECT_EQ(fs.Contents("D:\\Out\\stored.txt"), data);
  EXPECT_EQ(fs.Contents("D:\\Out\\packed.txt"), data);
  EXPECT_EQ(fs.Find("D:\\Out\\packed.txt")->dosTime, uint32_t(kOld));
  EXPECT_EQ(backup.FilesWritten(), 2);
}

TEST_F(ArchiveReader, FileListIsNeverWrittenNorOffered) {
  Record();
  ArchiveBytes bytes;
  bytes.Header(2).Member("FILE:LIST", kOld, "C:\\x.txt\r\n").Member("C:\\x.txt", kOld, "xy");
  ASSERT_TRUE(Extract(bytes.End().str(), ""));
  EXPECT_FALSE(fs.Contents("FILE:LIST"));
  EXPECT_EQ(fs.Contents("C:\\x.txt"), "xy");
  EXPECT_EQ(events[0], "restore C:\\x.txt write");
}

TEST_F(ArchiveReader, NegativeNameLengthsAreSkipped) {
  ArchiveBytes bytes;
  bytes.Header(1).Int(-1).Int(-7).Member("C:\\one", kOld, "1").Int(INT32_MIN).End();
  ASSERT_TRUE(Extract(bytes.str()));
  EXPECT_EQ(fs.Contents("D:\\Out\\one"), "1");
}

TEST_F(ArchiveReader, TargetPathFollowsDestinationAndFullPathSetting) {
  struct Case {
    bool fullPath;
    std::string destination, expected;
  } cases[] = {
      {true, "D:\\Target", "D:\\Target\\App\\bin\\x.dll"},
      {false, "D:\\Target", "D:\\Target\\x.dll"},
      {false, "D:\\Target\\", "D:\\Target\\x.dll"},
      {true, "", "E:\\App\\bin\\x.dll"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    MemoryFileSystem files;
    TBackupFile reader(files);
    reader.RestoreFullPath = c.fullPath;
    files.AddFile("A:\\p.dat", ArchiveBytes().Header(3).Member("E:\\App\\bin\\x.dll", kOld, "dll").End().str());
    ASSERT_TRUE(reader.Restore("A:\\p.dat", c.destination));
    EXPECT_EQ(files.Contents(c.expected), "dll");
    EXPECT_EQ(files.AllFiles().size(), 2u);
  }
}

TEST_F(ArchiveReader, FullPathNeverLeavesTheDestination) {
  backup.RestoreFullPath = true;
  Record();
  ArchiveBytes bytes;
  bytes.Header(2).Member("C:\\ok", kOld, "1").Member("C:\\..\\evil", kOld, "2").Member("C:\\after", kOld, "3");
  EXPECT_FALSE(Extract(bytes.End().str()));
  EXPECT_EQ(fs.Contents("D:\\Out\\ok"), "1");
  EXPECT_FALSE(fs.Contents("D:\\evil"));
  EXPECT_FALSE(fs.Contents("D:\\Out\\after"));
  EXPECT_EQ(events.back(), "error 1 Cannot read file");
}

TEST_F(ArchiveReader, RestoreModesCompareStoredAndInstalledTimes) {
  enum Target { Missing, Older, Same, Newer };
  struct Case {
    TRestoreMode mode;
    Target target;
    bool written;
  } cases[] = {
      {rmAll, Missing, true},           {rmAll, Older, true},          {rmAll, Newer, true},
      {rmNoOverwrite, Missing, true},   {rmNoOverwrite, Older, false}, {rmNewer, Missing, true},
      {rmNewer, Older, true},           {rmNewer, Same, false},        {rmNewer, Newer, false},
      {rmExisting, Missing, false},     {rmExisting, Newer, true},     {rmExistingNewer, Missing, false},
      {rmExistingNewer, Older, true},   {rmExistingNewer, Same, false}, {rmExistingNewer, Newer, false},
  };
  const int32_t stored = int32_t(PackDosDateTime({2005, 6, 7, 8, 9, 10, 0}));
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " target " << c.target);
    MemoryFileSystem files;
    TBackupFile reader(files);
    reader.RestoreMode = c.mode;
    bool offered = false;
    reader.OnRestoreFile = [&](TBackupFile&, std::string&, int32_t fa, bool& write) {
      EXPECT_EQ(fa, stored);
      offered = write == c.written;
    };
    if (c.target != Missing)
      files.AddFile("D:\\Out\\f.txt", "old", c.target == Older ? kOld : c.target == Same ? stored : kNew);
    files.AddFile("A:\\p.dat", ArchiveBytes().Header(3).Member("C:\\f.txt", stored, "new").End().str());
    ASSERT_TRUE(reader.Restore("A:\\p.dat", "D:\\Out"));
    EXPECT_TRUE(offered);
    auto content = files.Contents("D:\\Out\\f.txt");
    EXPECT_EQ(content.value_or("none"), c.written ? "new" : c.target == Missing ? "none" : "old");
  }
}

TEST_F(ArchiveReader, RestoreFileHandlerChoosesTargetAndDecision) {
  backup.OnRestoreFile = [](TBackupFile&, std::string& name, int32_t, bool& write) {
    write = name == "C:\\keep.txt";
    name = "F:\\deep\\new\\folder\\kept.txt";
  };
  std::vector<std::string> restored;
  backup.OnFileRestored = [&](TBackupFile&, std::string& name, platform::OutputFile&) { restored.push_back(name); };
  ArchiveBytes bytes;
  bytes.Header(6).Member("C:\\drop.txt", kOld, "drop").Member("C:\\keep.txt", kNew, "ke");
  ASSERT_TRUE(Extract(bytes.End().str(), ""));
  EXPECT_EQ(fs.Contents("F:\\deep\\new\\folder\\kept.txt"), "ke");
  EXPECT_EQ(fs.Find("F:\\deep\\new\\folder\\kept.txt")->dosTime, uint32_t(kNew));
  EXPECT_EQ(restored, std::vector<std::string>{"F:\\deep\\new\\folder\\kept.txt"});
  EXPECT_EQ(fs.AllFiles().size(), 2u);
}

TEST_F(ArchiveReader, ProgressCountsDecodedBytesAgainstTheDeclaredTotal) {
  Record();
  // Total 40000: blocks of 16384, 16384 and 7232, then the ending block.
  ArchiveBytes bytes;
  bytes.Header(40000).Member("C:\\a", kOld, TestContent(40000, false));
  ASSERT_TRUE(Extract(bytes.End().str()));
  EXPECT_EQ(percents, (std::vector<int>{41, 82, 100, 100, 100}));
  EXPECT_EQ(backup.ProcessedBytes(), 40000);
}

TEST_F(ArchiveReader, PercentRoundsHalvesToEvenAndStaysInRange) {
  struct Case {
    int64_t processed;
    int32_t total;
    int percent;
  } cases[] = {{1, 200, 0}, {3, 200, 2}, {5, 200, 2}, {7, 200, 4}, {1, 3, 33}, {2, 3, 67},
               {0, 0, 100}, {5, 0, 100}, {5, -1, 100}, {9, 4, 100}, {0, 10, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.processed << "/" << c.total);
    EXPECT_EQ(TBackupFile::Percent(c.processed, c.total), c.percent);
  }
}

TEST_F(ArchiveReader, ClearingContinueStopsWithoutErrorReport) {
  Record();
  backup.OnProgress = [](TBackupFile& sender, const std::string&, int, bool& cont) {
    EXPECT_TRUE(sender.Busy());
    cont = false;
  };
  ArchiveBytes bytes;
  bytes.Header(40000).Member("C:\\a", kOld, TestContent(40000, true)).Member("C:\\b", kOld, "b");
  EXPECT_FALSE(Extract(bytes.End().str()));
  EXPECT_EQ(fs.Contents("D:\\Out\\a")->size(), 16384u);
  EXPECT_FALSE(fs.Contents("D:\\Out\\b"));
  EXPECT_EQ(events.back(), "restored D:\\Out\\a");  // no error event
}

TEST_F(ArchiveReader, ReadsFromTheCallersStream) {
  fs.AddFile("A:\\mem.dat", ArchiveBytes().Header(2).Member("C:\\s.txt", kOld, "st").End().str());
  EXPECT_FALSE(backup.Restore(TBackupFile::kStreamPath, "D:\\Out"));  // no stream set
  auto stream = fs.OpenRead("A:\\mem.dat");
  backup.Stream = stream.get();
  ASSERT_TRUE(backup.Restore(TBackupFile::kStreamPath, "D:\\Out"));
  EXPECT_EQ(fs.Contents("D:\\Out\\s.txt"), "st");
  char c;
  EXPECT_EQ(stream->Read(&c, 1), 0);  // still usable, at its end
}

TEST_F(ArchiveReader, RefusesToStartInsideAnExtraction) {
  int nested = -1;
  backup.OnRestoreFile = [&](TBackupFile& sender, std::string&, int32_t, bool&) {
    nested = sender.Restore("A:\\data1.dat", "E:\\Other");
  };
  ASSERT_TRUE(Extract(ArchiveBytes().Header(1).Member("C:\\x", kOld, "x").End().str()));
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(fs.Contents("D:\\Out\\x"), "x");
  EXPECT_FALSE(fs.Contents("E:\\Other\\x"));
}

TEST_F(ArchiveReader, PropertiesForWritingAreKeptButInert) {
  backup.SetVersion("9.99");
  EXPECT_EQ(backup.Version(), "5.10");
  EXPECT_FALSE(backup.SetArchiveFlag);
  backup.SetBackupMode(bmIncremental);
  EXPECT_TRUE(backup.SetArchiveFlag);
  backup.CompressionLevel = clNone;
  backup.MaxSize = 1;
  ASSERT_TRUE(Extract(ArchiveBytes().Header(1).Member("C:\\x", kOld, "x").End().str()));
  EXPECT_EQ(fs.Contents("D:\\Out\\x"), "x");
}

}  // namespace
}  // namespace ostravel::engine
