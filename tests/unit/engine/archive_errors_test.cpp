#include <gtest/gtest.h>

#include "installer/engine/archive_backup_file.h"
#include "installer/platform/fake/memory_file_system.h"
#include "tests/unit/engine/archive_test_support.h"

namespace ostravel::engine {
namespace {

using platform::MemoryFileSystem;
using archive_testing::ArchiveBytes;
using archive_testing::TestContent;

const int32_t kTime = int32_t(PackDosDateTime({2003, 4, 5, 6, 7, 8, 0}));

class ArchiveErrors : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  TBackupFile backup{fs};
  std::vector<std::string> errors;
  int restored = 0;

  void SetUp() override {
    backup.OnError = [this](TBackupFile&, int code, const std::string& text) {
      errors.push_back(std::to_string(code) + " " + text);
    };
    backup.OnFileRestored = [this](TBackupFile&, std::string&, platform::OutputFile&) { ++restored; };
  }
  bool Extract(const std::string& bytes) {
    fs.AddFile("A:\\data1.dat", bytes);
    return backup.Restore("A:\\data1.dat", "D:\\Out");
  }
  std::string Raised(const std::string& bytes) {
    try {
      Extract(bytes);
    } catch (const ArchiveError& e) {
      EXPECT_FALSE(backup.Busy());
      return e.what();
    }
    return "nothing raised";
  }
  // Member "C:\first" (whole), then "C:\second" whose data section is `data`.
  static std::string WithSecond(const std::string& data) {
    ArchiveBytes b;
    b.Header(10).Member("C:\\first", kTime, "intact").Entry("C:\\second", kTime).Raw(data);
    return b.str();
  }
};

TEST_F(ArchiveErrors, RejectsTruncatedHeader) {
  std::string header = ArchiveBytes().Header(5, "title").str();
  for (size_t size = 0; size < header.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_EQ(Raised(header.substr(0, size)), "Cannot read archive");
    EXPECT_TRUE(errors.empty());
  }
}

TEST_F(ArchiveErrors, RejectsHostileTitleLengths) {
  for (int32_t length : {-1, INT32_MIN, INT32_MAX, 1000}) {
    SCOPED_TRACE(length);
    EXPECT_EQ(Raised(ArchiveBytes().Int(length).Raw("abc").Int(0).Int(0).Int(0).str()), "Cannot read archive");
  }
}

TEST_F(ArchiveErrors, RejectsHostileNameLengthWithoutTakingMemory) {
  EXPECT_EQ(Raised(ArchiveBytes().Header(0).Int(INT32_MAX).Raw("x").str()), "Invalid archive type");
  EXPECT_EQ(Raised(ArchiveBytes().Header(0).Int(100).Raw("short").str()), "Cannot read archive");
}

TEST_F(ArchiveErrors, RejectsArchiveCutBetweenEntries) {
  ArchiveBytes b;
  b.Header(6).Member("C:\\first", kTime, "intact");
  EXPECT_EQ(Raised(b.str()), "Cannot read archive");
  EXPECT_EQ(fs.Contents("D:\\Out\\first"), "intact");
  EXPECT_EQ(Raised(ArchiveBytes().Header(0).Name("C:\\x").Raw("\x01\x02").str()), "Cannot read archive");
}

TEST_F(ArchiveErrors, DamagedWrittenMemberRecordsCodeAndKeepsEarlierFiles) {
  std::string block = ArchiveBytes::Deflate(TestContent(5000, true));
  std::string corrupt = block;
  corrupt[corrupt.size() / 2] ^= 0x55;
  std::string inflatesTooFar = ArchiveBytes::Deflate(std::string(16385, 'a'));
  std::string trailing = block + "junk";
  // Sections named "cut" end the archive; the others are followed by a good member.
  struct Case {
    const char* what;
    std::string section;
    std::string error;
  } cases[] = {
      {"bad magic", std::string("EC3\0", 4), "1 Cannot read file"},
      {"magic without zero", "EC2x", "1 Cannot read file"},
      {"cut in magic", "EC", "1 Cannot read file"},
      {"cut before block length", std::string("EC2\0", 4), "1 Cannot read file"},
      {"cut in stored block", ArchiveBytes().Magic().Int(-10).Raw("abc").str(), "1 Cannot read file"},
      {"cut in compressed block", ArchiveBytes().Magic().Int(int32_t(block.size())).Raw(block.substr(0, 9)).str(),
       "1 Cannot read file"},
      {"stored block over 16384", ArchiveBytes().Magic().Int(-16385).Raw(std::string(16385, 'x')).End().str(),
       "1 Cannot read file"},
      {"huge block length", ArchiveBytes().Magic().Int(INT32_MIN).str(), "1 Cannot read file"},
      {"corrupt zlib data", ArchiveBytes().Magic().Int(int32_t(corrupt.size())).Raw(corrupt).End().str(),
       "6 Compression error"},
      {"zlib stream ends early",
       ArchiveBytes().Magic().Int(int32_t(block.size() - 6)).Raw(block.substr(0, block.size() - 6)).End().str(),
       "6 Compression error"},
      {"inflates past 16384", ArchiveBytes().Magic().Int(int32_t(inflatesTooFar.size())).Raw(inflatesTooFar).End().str(),
       "6 Compression error"},
      {"bytes after the zlib stream", ArchiveBytes().Magic().Int(int32_t(trailing.size())).Raw(trailing).End().str(),
       "6 Compression error"},
      {"not zlib at all", ArchiveBytes().Magic().Int(5).Raw("hello").End().str(), "6 Compression error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    errors.clear();
    restored = 0;
    fs.AddFile("D:\\Out\\second", "previous");
    bool cut = std::string(c.what).rfind("cut", 0) == 0;
    std::string archive = WithSecond(c.section);
    if (!cut) archive += ArchiveBytes().Member("C:\\third", kTime, "3").End().str();
    EXPECT_FALSE(Extract(archive));
    EXPECT_EQ(errors, std::vector<std::string>{c.error});
    EXPECT_EQ(fs.Contents("D:\\Out\\first"), "intact");
    EXPECT_EQ(restored, 2);  // the damaged target was created, so it is reported
    EXPECT_NE(fs.Contents("D:\\Out\\second"), "previous");
    EXPECT_FALSE(fs.Contents("D:\\Out\\third"));
  }
}

TEST_F(ArchiveErrors, DamagedSkippedMemberRaises) {
  backup.OnRestoreFile = [](TBackupFile&, std::string& name, int32_t, bool& write) { write = name != "D:\\Out\\second"; };
  struct Case {
    const char* what;
    std::string section, raised;
  } cases[] = {
      {"bad magic", std::string("EC3\0", 4), "Invalid archive type"},
      {"cut in magic", "E", "Cannot read archive"},
      {"block runs past the end", ArchiveBytes().Magic().Int(-100).Raw("abc").str(), "Cannot read archive"},
      {"block over the limit", ArchiveBytes().Magic().Int(1 << 20).str(), "Invalid archive type"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Raised(WithSecond(c.section)), c.raised);
    EXPECT_EQ(fs.Contents("D:\\Out\\first"), "intact");
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(ArchiveErrors, UnwritableTargetStopsWithCodeOne) {
  fs.AddFile("D:\\Out\\second", "locked");
  fs.SetAttributes("D:\\Out\\second", platform::kAttrReadOnly);
  ArchiveBytes b;
  b.Header(10).Member("C:\\first", kTime, "intact").Member("C:\\second", kTime, "new").Member("C:\\third", kTime, "3");
  EXPECT_FALSE(Extract(b.End().str()));
  EXPECT_EQ(errors, std::vector<std::string>{"1 Cannot read file"});
  EXPECT_EQ(fs.Contents("D:\\Out\\first"), "intact");
  EXPECT_EQ(fs.Contents("D:\\Out\\second"), "locked");
  EXPECT_FALSE(fs.Contents("D:\\Out\\third"));
  EXPECT_EQ(restored, 1);  // never created, so never reported
}

TEST_F(ArchiveErrors, FullDiskStopsWithCodeOne) {
  fs.AddFile("A:\\data1.dat", ArchiveBytes().Header(40000).Member("C:\\big", kTime, TestContent(40000, true)).End().str());
  fs.SetCapacity(fs.Find("A:\\data1.dat")->size + 20000);
  EXPECT_FALSE(backup.Restore("A:\\data1.dat", "D:\\Out"));
  EXPECT_EQ(errors, std::vector<std::string>{"1 Cannot read file"});
}

TEST_F(ArchiveErrors, FolderThatCannotBeCreatedSkipsTheMember) {
  fs.AddFile("D:\\Out\\sub", "a file where the folder should be");
  backup.RestoreFullPath = true;
  ArchiveBytes b;
  b.Header(4).Member("C:\\sub\\x", kTime, "x").Member("C:\\y", kTime, "y");
  EXPECT_TRUE(Extract(b.End().str()));
  EXPECT_EQ(fs.Contents("D:\\Out\\y"), "y");
  EXPECT_EQ(restored, 1);
}

TEST_F(ArchiveErrors, WithoutHandlerTheErrorBoxShowsTheText) {
  backup.OnError = nullptr;
  std::vector<std::string> shown;
  backup.ShowError = [&](const std::string& text) { shown.push_back(text); };
  EXPECT_FALSE(Extract(WithSecond(ArchiveBytes().Magic().Int(3).Raw("bad").End().str()) + std::string(4, '\0')));
  EXPECT_EQ(shown, std::vector<std::string>{"Compression error"});
  // The next extraction starts clean.
  shown.clear();
  EXPECT_TRUE(Extract(ArchiveBytes().Header(0).End().str()));
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(backup.ErrorCode(), 0);
}

TEST(ArchiveErrorText, NamesEveryCode) {
  const char* expected[] = {"",
                            "Cannot read file",
                            "Overwriting file failed",
                            "Cannot read archive",
                            "Cannot write to archive",
                            "Invalid archive type",
                            "Compression error",
                            "Cannot create temporary file to save the file IDs",
                            ""};
  for (int code = 0; code <= 8; ++code) EXPECT_STREQ(ArchiveErrorText(code), expected[code]) << code;
}

}  // namespace
}  // namespace ostravel::engine
