#include "tools/media/archive_writer.h"

#include <gtest/gtest.h>

#include "installer/engine/archive_backup_file.h"
#include "installer/platform/fake/memory_file_system.h"
#include "tests/unit/engine/archive_test_support.h"

namespace ostravel::media {
namespace {

using engine::GetInt32;
using engine::archive_testing::TestContent;
using platform::MemoryFileSystem;

const uint32_t kTime = PackDosDateTime({2010, 10, 10, 10, 10, 10, 0});

struct Member {
  std::string name, data;
};

// Writes the members, reads them back with the installer's reader (full paths).
std::map<std::string, std::string> RoundTrip(MemoryFileSystem& fs, const std::vector<Member>& members,
                                             ArchiveWriterOptions options = {}) {
  ArchiveWriter writer(fs, "A:\\pack.dat", options);
  int64_t total = 0;
  for (const auto& m : members) total += int64_t(m.data.size());
  EXPECT_TRUE(writer.Begin(total)) << writer.Error();
  for (const auto& m : members) EXPECT_TRUE(writer.AddMember(m.name, kTime, m.data)) << writer.Error();
  EXPECT_TRUE(writer.Finish()) << writer.Error();
  engine::TBackupFile reader(fs);
  reader.RestoreFullPath = true;
  reader.OnNeedDisk = [](engine::TBackupFile&, uint16_t, bool&) {};
  std::map<std::string, std::string> out;
  reader.OnFileRestored = [&](engine::TBackupFile&, std::string& name, platform::OutputFile&) {
    EXPECT_EQ(name.rfind("X:\\out\\", 0), 0u) << name;
  };
  EXPECT_TRUE(reader.Restore("A:\\pack.dat", "X:\\out"));
  EXPECT_EQ(reader.ProcessedBytes(), total);
  for (const auto& m : members) {
    auto c = fs.Contents("X:\\out\\" + m.name.substr(3));
    out[m.name] = c ? *c : "<missing>";
    if (c) {
      EXPECT_EQ(fs.Find("X:\\out\\" + m.name.substr(3))->dosTime, kTime);
    }
  }
  return out;
}

// Block lengths of the one member of a single-volume archive.
std::vector<int32_t> BlockLengths(const std::string& archive, size_t nameLength) {
  size_t at = 4 + GetInt32(reinterpret_cast<const unsigned char*>(archive.data())) + 8 + 4 + nameLength + 4 + 4;
  std::vector<int32_t> lengths;
  for (;;) {
    int32_t l = GetInt32(reinterpret_cast<const unsigned char*>(archive.data() + at));
    if (l == 0) return lengths;
    lengths.push_back(l);
    at += 4 + size_t(l < 0 ? -int64_t(l) : l);
  }
}

TEST(ArchiveWriter, RoundTripsMembersOfEverySize) {
  for (bool compressible : {true, false}) {
    for (int level : {0, 1, 9}) {
      for (size_t size : {0u, 1u, 16383u, 16384u, 16385u, 100000u}) {
        SCOPED_TRACE(::testing::Message() << "size " << size << " level " << level << " text " << compressible);
        MemoryFileSystem fs;
        std::string data = TestContent(size, compressible, uint32_t(size));
        ArchiveWriterOptions options;
        options.level = level;
        auto out = RoundTrip(fs, {{"C:\\dir\\m.bin", data}, {"C:\\empty", ""}}, options);
        EXPECT_TRUE(out["C:\\dir\\m.bin"] == data);
        EXPECT_EQ(out["C:\\empty"], "");
      }
    }
  }
}

TEST(ArchiveWriter, StoresBlocksThatDoNotShrink) {
  struct Case {
    const char* what;
    std::string data;
    int level;
    std::vector<bool> compressed;
  } cases[] = {
      {"text", TestContent(40000, true), 6, {true, true, true}},
      {"noise", TestContent(40000, false), 6, {false, false, false}},
      {"level 0", TestContent(20000, true), 0, {false, false}},
      {"noise then text", TestContent(16384, false) + TestContent(100, true), 6, {false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fs;
    ArchiveWriterOptions options;
    options.level = c.level;
    options.title = "";
    ArchiveWriter writer(fs, "A:\\p.dat", options);
    ASSERT_TRUE(writer.Begin(int64_t(c.data.size())));
    ASSERT_TRUE(writer.AddMember("C:\\m", kTime, c.data));
    ASSERT_TRUE(writer.Finish());
    std::vector<bool> compressed;
    for (int32_t l : BlockLengths(*fs.Contents("A:\\p.dat"), 4)) {
      compressed.push_back(l > 0);
      EXPECT_LE(l < 0 ? -l : l, 16384);
    }
    EXPECT_EQ(compressed, c.compressed);
  }
}

TEST(ArchiveWriter, SplitsIntoVolumesWithinTheSize) {
  MemoryFileSystem fs;
  std::vector<Member> members = {{"C:\\a.bin", TestContent(50000, false, 1)},
                                 {"C:\\sub\\b.txt", TestContent(90000, true, 2)},
                                 {"C:\\c.bin", TestContent(33000, false, 3)},
                                 {"C:\\d", "d"}};
  ArchiveWriterOptions options;
  options.volumeSize = 20000;
  auto out = RoundTrip(fs, members, options);
  for (const auto& m : members) EXPECT_TRUE(out[m.name] == m.data) << m.name;
  auto files = fs.AllFiles();
  size_t volumes = 0;
  for (const auto& f : files) {
    if (f.rfind("A:\\pack.", 0) != 0) continue;
    ++volumes;
    EXPECT_LE(fs.Find(f)->size, options.volumeSize) << f;
  }
  EXPECT_GE(volumes, 6u);
  EXPECT_TRUE(fs.Contents("A:\\pack.002"));
  EXPECT_TRUE(fs.Contents("A:\\pack." + std::string(volumes < 10 ? "00" : "0") + std::to_string(volumes)));
}

TEST(ArchiveWriter, RefusesBadOptions) {
  MemoryFileSystem fs;
  ArchiveWriterOptions small;
  small.volumeSize = 1000;
  EXPECT_FALSE(ArchiveWriter(fs, "A:\\p.dat", small).Begin(0));
  ArchiveWriterOptions level;
  level.level = 10;
  EXPECT_FALSE(ArchiveWriter(fs, "A:\\p.dat", level).Begin(0));
  ArchiveWriter writer(fs, "A:\\p.dat", {});
  ASSERT_TRUE(writer.Begin(0));
  EXPECT_FALSE(writer.AddMember("", kTime, "x"));
  EXPECT_FALSE(writer.Error().empty());
}

TEST(ArchiveWriter, ReportsAFullDisk) {
  MemoryFileSystem fs;
  fs.SetCapacity(30000);
  ArchiveWriter writer(fs, "A:\\p.dat", {});
  ASSERT_TRUE(writer.Begin(0));
  EXPECT_FALSE(writer.AddMember("C:\\m", kTime, TestContent(50000, false)));
  EXPECT_NE(writer.Error().find("not enough space"), std::string::npos) << writer.Error();
}

}  // namespace
}  // namespace ostravel::media
