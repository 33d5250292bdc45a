#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/installer_error.h"
#include "installer/platform/fake/memory_file_system.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/setup_script.h"
#include "tests/unit/test_support.h"

namespace ostravel {
namespace {

class ExtIniFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  platform::HostFileSystem fs;
  std::string Path() const { return dir.File("setup.inf"); }
};

TEST_F(ExtIniFileTest, LoadsSectionsAndKeysByTheRules) {
  dir.Write("setup.inf",
            "stray=before any section\r\n"
            "; comment\r\n"
            "[ files ]\r\n"
            "  Count  =  0x2 \r\n"
            "File1.Name=a=b\r\n"
            "bare line\r\n"
            "\r\n"
            "[Files]\n"
            "Count=7\n"
            "[Other]\rKey=\r");
  TExtIniFile ini(fs, Path(), false);
  EXPECT_EQ(ini.ReadInteger("Files", "count", 0), 2);  // first of duplicate sections, hexadecimal
  EXPECT_EQ(ini.ReadString("FILES", "file1.name", "x"), "a=b");
  EXPECT_EQ(ini.ReadString("Other", "Key", "default"), "");  // empty value is not the default
  EXPECT_EQ(ini.ReadString("Other", "Missing", "default"), "default");
  EXPECT_EQ(ini.ReadString("Nope", "Key", "d"), "d");
  EXPECT_EQ(ini.ReadString("files", "stray", "gone"), "gone");
  std::vector<std::string> values;
  ini.ReadSectionValues("Files", values);
  EXPECT_EQ(values, (std::vector<std::string>{"Count=0x2", "File1.Name=a=b", "bare line"}));
}

TEST_F(ExtIniFileTest, IntegersAndBooleans) {
  dir.Write("setup.inf", "[S]\nd=12\nh=0x10\nh2=$1F\nneg=-1\nword=yes\nzero=0\nempty=\nbig=99999999999\nspaced=1 2\n");
  TExtIniFile ini(fs, Path(), false);
  EXPECT_EQ(ini.ReadInteger("S", "d", 5), 12);
  EXPECT_EQ(ini.ReadInteger("S", "h", 5), 16);
  EXPECT_EQ(ini.ReadInteger("S", "h2", 5), 31);
  for (const char* key : {"word", "empty", "big", "spaced", "missing"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(ini.ReadInteger("S", key, 5), 5);
    EXPECT_TRUE(ini.ReadBool("S", key, true));
    EXPECT_FALSE(ini.ReadBool("S", key, false));
  }
  EXPECT_TRUE(ini.ReadBool("S", "neg", false));
  EXPECT_TRUE(ini.ReadBool("S", "h", false));
  EXPECT_FALSE(ini.ReadBool("S", "zero", true));
}

TEST_F(ExtIniFileTest, ReadLinesStartsAtZeroAndFillsGaps) {
  dir.Write("setup.inf", "[Welcome Page]\nCount = 3\nLine0=first\nLine2=third\nLine3=never\n");
  TExtIniFile ini(fs, Path(), false);
  std::vector<std::string> lines{"old"};
  ini.ReadLines("Welcome Page", lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"first", "", "third"}));
  ini.ReadLines("Welcome Page", lines, 1);
  EXPECT_EQ(lines, (std::vector<std::string>{"first"}));
  ini.ReadLines("Missing", lines);
  EXPECT_TRUE(lines.empty());
}

TEST_F(ExtIniFileTest, AbsurdLineCountsStayBounded) {
  dir.Write("setup.inf", "[W]\nCount=2000000000\nLine0=a\nLine5000=z\n[X]\nCount=577777777\n");
  TExtIniFile ini(fs, Path(), false);
  std::vector<std::string> lines;
  ini.ReadLines("W", lines);
  ASSERT_EQ(lines.size(), 5001u);  // every line written is still read
  EXPECT_EQ(lines.front(), "a");
  EXPECT_EQ(lines.back(), "z");
  ini.ReadLines("X", lines);
  EXPECT_LT(lines.size(), 2000u);
  EXPECT_EQ(ini.BoundedCount("X", "Line", 40), 40);  // reasonable counts as written
}

TEST_F(ExtIniFileTest, DateTimesUseTheProgramFormat) {
  dir.Write("setup.inf", "[Configuration]\nBuildDate=2026.03.07 14:05:09\nBad=soon\n");
  TExtIniFile ini(fs, Path(), false);
  EXPECT_NEAR(ini.ReadDateTime("Configuration", "BuildDate", 0), 46088.587, 0.001);
  EXPECT_EQ(ini.ReadDateTime("Configuration", "Bad", -3), -3);
}

TEST_F(ExtIniFileTest, WriteBackNormalisesAndKeepsDuplicateSections) {
  dir.Write("setup.inf", "lost=1\r\n; comment\r\n[A]\r\n x = 1 \r\n\r\n[B]\r\ny=2\r\n[A]\r\nhidden=3\r\n");
  {
    TExtIniFile ini(fs, Path(), true);
    EXPECT_EQ(ini.ReadString("A", "hidden", "none"), "none");
    ini.WriteString("A", "x", "9");
    ini.WriteBool("New", "Flag", true);
  }
  EXPECT_EQ(dir.Read("setup.inf"),
            "[A]\r\nx=9\r\n\r\n[B]\r\ny=2\r\n\r\n[A]\r\nhidden=3\r\n\r\n[New]\r\nFlag=1\r\n\r\n");
}

TEST_F(ExtIniFileTest, MissingFileIsEmptyAndIsNotCreated) {
  {
    TExtIniFile ini(fs, Path(), true);
    EXPECT_EQ(ini.ReadInteger("Configuration", "Language", 0), 0);
  }
  EXPECT_FALSE(fs.FileExists(Path()));
}

TEST_F(ExtIniFileTest, NormalisedScriptOnReadOnlyMediaNeedsNoWrite) {
  dir.Write("setup.inf", "[A]\r\nx=1\r\n\r\n");
  chmod(Path().c_str(), 0444);
  EXPECT_NO_THROW({ TExtIniFile ini(fs, Path(), true); });
  // A script that needs normalising cannot be written there: that is an error.
  chmod(Path().c_str(), 0644);
  dir.Write("setup.inf", "[A]\r\nx = 1\r\n");
  chmod(Path().c_str(), 0444);
  EXPECT_THROW(
      {
        TExtIniFile ini(fs, Path(), true);
        ini.UpdateFile();
      },
      InstallerError);
  EXPECT_EQ(dir.Read("setup.inf"), "[A]\r\nx = 1\r\n");  // untouched
}

TEST_F(ExtIniFileTest, ReleaseDuringAnotherErrorKeepsThatError) {
  dir.Write("setup.inf", "[A]\r\nx = 1\r\n");
  chmod(Path().c_str(), 0444);
  try {
    TExtIniFile ini(fs, Path(), true);
    throw std::runtime_error("first");
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "first");
  }
}

TEST_F(ExtIniFileTest, FailedWriteBackNeverEndsTheProgram) {
  dir.Write("setup.inf", "[A]\r\nx = 1\r\n");
  chmod(Path().c_str(), 0444);
  // Readers held in a container are released without a commit.
  std::vector<std::unique_ptr<TExtIniFile>> held;
  held.push_back(std::make_unique<TExtIniFile>(fs, Path(), true));
  held.back()->WriteString("A", "y", "2");
  EXPECT_NO_THROW(held.clear());
  EXPECT_EQ(dir.Read("setup.inf"), "[A]\r\nx = 1\r\n");
  // Through WithScript the same failure is an error, whatever the block returns.
  EXPECT_THROW(WithScript(fs, Path(), [](TExtIniFile& ini) { return ini.ReadInteger("A", "x", 0); }), InstallerError);
}

// Nested WithScript calls on one script, as a page entry that moves the wizard on
// does: the outer reader loaded the file before the inner one wrote it.
TEST_F(ExtIniFileTest, NestedReadersKeepWhatTheInnerOneWrote) {
  struct Case {
    const char* name;
    void (*outerBefore)(TExtIniFile&);
    const char* expected;
  };
  const Case cases[] = {
      {"outer changes nothing", [](TExtIniFile&) {}, "[A]\r\nx=1\r\ngone=1\r\n\r\n"},
      {"outer writes another key", [](TExtIniFile& ini) { ini.WriteString("B", "y", "outer"); },
       "[A]\r\nx=1\r\ngone=1\r\n\r\n[B]\r\ny=outer\r\n\r\n"},
      {"outer wrote the key first", [](TExtIniFile& ini) { ini.WriteString("A", "key", "older"); },
       "[A]\r\nx=1\r\ngone=1\r\n\r\n"},
  };
  // Large files share one parse between readers of the same bytes.
  std::string bigPad = "[Pad]\r\n";
  for (int i = 0; bigPad.size() < 100 * 1024; ++i)
    bigPad += "File" + std::to_string(i) + "=" + std::string(40, 'x') + "\r\n";
  bigPad += "\r\n";
  for (const std::string& pad : {std::string(), bigPad}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (pad.empty() ? "" : ", large file"));
      dir.Write("setup.inf", pad + "[A]\nx = 1\nkey=0\ngone=1\n");
      for (int again = 0; again < 2; ++again) {  // the second time from a kept parse
        WithScript(fs, Path(), [&](TExtIniFile& outer) {
          c.outerBefore(outer);
          WithScript(fs, Path(), [](TExtIniFile& inner) {
            inner.DeleteKey("A", "key");
            inner.WriteString("A", "gone", "1");
          });
        });
        EXPECT_EQ(dir.Read("setup.inf"), pad + c.expected);
        dir.Write("setup.inf", pad + "[A]\r\nx=1\r\nkey=0\r\ngone=1\r\n\r\n");
      }
    }
  }
}

// Readers of one large file share its parse: what one changes stays its own until
// it commits, and a file that changed on disk is read again.
TEST(ExtIniFileShared, ReadersOfTheSameBytesKeepTheirChangesApart) {
  struct CountedWrites : platform::MemoryFileSystem {
    int writes = 0;
    bool ReplaceFile(const std::string& path, const std::string& data) override {
      ++writes;
      return MemoryFileSystem::ReplaceFile(path, data);
    }
  } fs;
  std::string text = "[A]\r\nx=1\r\n\r\n[Files]\r\n";
  for (int i = 0; text.size() < 200 * 1024; ++i) text += "File" + std::to_string(i) + "=f\r\n";
  text += "\r\n";
  const std::string path = "C:\\setup.inf";
  fs.AddFile(path, "; not as written back\n[ A ]\n x = 1 \n" + text.substr(text.find("[Files]")));
  { TExtIniFile first(fs, path, true); }  // normalises the file once; later readers take its parse
  EXPECT_EQ(fs.writes, 1);
  std::string normalised;
  ASSERT_TRUE(fs.ReadFile(path, normalised));
  EXPECT_EQ(normalised, text);

  TExtIniFile a(fs, path, false), b(fs, path, false);
  b.WriteString("A", "x", "2");
  b.EraseSection("Files");
  b.WriteString("New", "k", "v");
  EXPECT_EQ(a.ReadString("A", "x", ""), "1");
  EXPECT_EQ(a.ReadString("Files", "File7", ""), "f");
  EXPECT_FALSE(a.SectionExists("New"));
  { TExtIniFile unchanged(fs, path, true); }
  EXPECT_EQ(fs.writes, 1);  // a normalised file read unchanged is not written again

  b.UpdateFile();
  EXPECT_EQ(fs.writes, 2);
  TExtIniFile c(fs, path, false);
  EXPECT_EQ(c.ReadString("A", "x", ""), "2");
  EXPECT_FALSE(c.SectionExists("Files"));
  a.UpdateFile();  // no changes of its own: takes b's file and writes nothing
  EXPECT_EQ(fs.writes, 2);
  EXPECT_EQ(a.ReadString("A", "x", ""), "2");

  // Changed on disk to other bytes of the same length: read again, not taken from before.
  std::string same = text;
  same.replace(same.find("x=1"), 3, "x=3");
  fs.AddFile(path, same);
  EXPECT_EQ(TExtIniFile(fs, path, false).ReadString("A", "x", ""), "3");
}

TEST_F(ExtIniFileTest, NestedReadersWriteInTheirOrderOnSeparateKeys) {
  dir.Write("setup.inf", "[A]\r\nn=0\r\n\r\n");
  WithScript(fs, Path(), [&](TExtIniFile& outer) {
    WithScript(fs, Path(), [](TExtIniFile& inner) { inner.WriteString("A", "n", "1"); });
    outer.WriteString("A", "after", outer.ReadString("A", "n", "?"));  // its own, older copy
  });
  EXPECT_EQ(dir.Read("setup.inf"), "[A]\r\nn=1\r\nafter=0\r\n\r\n");
}

TEST(ExtIniFileUnreadable, AFileThatCannotBeReadIsNeverEmptied) {
  struct UnreadableFiles : platform::MemoryFileSystem {
    bool ReadFile(const std::string&, std::string&) override { return false; }
  } fs;
  fs.AddFile("C:\\setup.inf", "[A]\r\nx=1\r\n\r\n");
  EXPECT_NO_THROW(WithScript(fs, "C:\\setup.inf", [](TExtIniFile&) {}));
  EXPECT_THROW(WithScript(fs, "C:\\setup.inf", [](TExtIniFile& ini) { ini.WriteString("A", "y", "2"); }),
               InstallerError);
  EXPECT_EQ(fs.Contents("C:\\setup.inf"), "[A]\r\nx=1\r\n\r\n");
}

TEST_F(ExtIniFileTest, WriteBackGoesThroughATemporaryFile) {
  dir.Write("setup.inf", "[A]\nx=1\n");
  {
    TExtIniFile ini(fs, Path(), true);
    ini.WriteString("A", "y", "2");
  }
  EXPECT_EQ(dir.Read("setup.inf"), "[A]\r\nx=1\r\ny=2\r\n\r\n");
  EXPECT_FALSE(fs.FileExists(Path() + ".~tmp"));
}

TEST_F(ExtIniFileTest, BinaryGarbageLoadsWithoutFailing) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(char((i * 131 + 7) % 256));
  junk += "\n[Configuration]\nLanguage=11\n";
  dir.Write("setup.inf", junk);
  TExtIniFile ini(fs, Path(), false);
  EXPECT_EQ(ini.ReadInteger("Configuration", "Language", 0), 11);
}

}  // namespace
}  // namespace ostravel
