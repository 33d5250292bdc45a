#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/unit/engine/archive_test_support.h"
#include "tools/media/command.h"

namespace ostravel::media {
namespace {

namespace fs = std::filesystem;
using engine::archive_testing::TestContent;

int RunCommand(const char* name, std::vector<std::string> args) {
  for (const auto& c : Commands())
    if (std::string(c.name) == name) return c.run(args);
  ADD_FAILURE() << "no command " << name;
  return -1;
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Host names and terminal text are UTF-8, while narrow literals here are CP1250.
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

void Spit(const fs::path& p, const std::string& data) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << data;
}

class MediaArchive : public ::testing::Test {
 protected:
  fs::path root;
  void SetUp() override {
    char tmpl[] = "/tmp/ostravel-media-XXXXXX";
    root = mkdtemp(tmpl);
    Spit(root / "src" / "noise.bin", TestContent(70000, false));
    Spit(root / "src" / "sub" / "text.txt", TestContent(40000, true));
    Spit(root / "src" / "sub" / "deeper" / "empty", "");
    Spit(root / "src" / "sub" / fs::path(u8"árvíztűrő.txt"), U8(u8"ő"));
  }
  void TearDown() override { fs::remove_all(root); }
  std::string P(const char* rel) { return (root / rel).string(); }
};

TEST_F(MediaArchive, PackExtractAndListRoundTrip) {
  ASSERT_EQ(RunCommand("pack", {P("v.dat"), P("src"), "--prefix", "E:\\App", "--volume-size", "30000", "--level", "9"}), 0);
  EXPECT_TRUE(fs::exists(root / "v.002"));
  ASSERT_EQ(RunCommand("extract", {P("v.dat"), P("full"), "--full-path"}), 0);
  for (fs::path rel : {fs::path("noise.bin"), fs::path("sub/text.txt"), fs::path("sub/deeper/empty"),
                       fs::path(u8"sub/árvíztűrő.txt")}) {
    SCOPED_TRACE(rel.string());
    // The stored name keeps the prefix's folder: only "E:\\" is dropped.
    fs::path extracted = root / "full" / "App" / rel;
    ASSERT_TRUE(fs::exists(extracted));
    EXPECT_TRUE(Slurp(extracted) == Slurp(root / "src" / rel));
    // Packed DOS times keep even seconds.
    auto lag = fs::last_write_time(root / "src" / rel) - fs::last_write_time(extracted);
    EXPECT_TRUE(lag >= std::chrono::seconds(0) && lag < std::chrono::seconds(2));
  }
  ASSERT_EQ(RunCommand("extract", {P("v.dat"), P("flat")}), 0);
  EXPECT_TRUE(Slurp(root / "flat" / "text.txt") == Slurp(root / "src" / "sub" / "text.txt"));

  ::testing::internal::CaptureStdout();
  ASSERT_EQ(RunCommand("list", {P("v.dat")}), 0);
  std::string listing = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(listing.find("E:\\App\\noise.bin\t70000\t"), std::string::npos) << listing;
  EXPECT_NE(listing.find(U8(u8"E:\\App\\sub\\árvíztűrő.txt\t2\t")), std::string::npos) << listing;
  EXPECT_NE(listing.find("E:\\App\\sub\\deeper\\empty\t0\t"), std::string::npos) << listing;
}

TEST_F(MediaArchive, ExtractFailsLoudly) {
  ASSERT_EQ(RunCommand("pack", {P("v.dat"), P("src"), "--volume-size", "30000"}), 0);
  std::string whole = Slurp(root / "v.dat");
  Spit(root / "cut.dat", whole.substr(0, 10));
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {"missing archive", {P("none.dat"), P("out")}, "no archive"},
      {"truncated header", {P("cut.dat"), P("out")}, "Cannot read archive"},
      {"bad option", {P("v.dat"), P("out"), "--fast"}, "unknown option"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ::testing::internal::CaptureStderr();
    EXPECT_NE(RunCommand("extract", c.args), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(c.message), std::string::npos);
  }
  fs::remove(root / "v.003");
  ::testing::internal::CaptureStderr();
  EXPECT_NE(RunCommand("extract", {P("v.dat"), P("out")}), 0);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("missing volume"), std::string::npos);
}

}  // namespace
}  // namespace ostravel::media
