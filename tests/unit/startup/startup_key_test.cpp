#include "startup/startup_key.h"

#include <gtest/gtest.h>

namespace ostravel::startup {
namespace {

std::string Key(std::string_view script, std::string_view key, std::string_view fallback = "<none>") {
  return ReadStartUpKey(script, "StartUp", key, fallback);
}

TEST(StartUpKey, FindsKeysOnlyUnderTheExactHeader) {
  struct Case {
    const char* script;
    const char* key;
    const char* expected;
  } cases[] = {
      {"[StartUp]\r\nTitle=Lumbra 2024\r\n", "Title", "Lumbra 2024"},
      {"[StartUp]\nTitle=lf only\n", "Title", "lf only"},
      {"[StartUp]\rTitle=cr only", "Title", "cr only"},
      {"[startup]\r\nTitle=x\r\n", "Title", "<none>"},    // header case must match
      {"[StartUp] \r\nTitle=x\r\n", "Title", "<none>"},   // trailing blank on the header
      {" [StartUp]\r\nTitle=x\r\n", "Title", "<none>"},
      {"", "Title", "<none>"},
      {"[Other]\r\nTitle=x\r\n", "Title", "<none>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(Key(c.script, c.key), c.expected);
  }
}

TEST(StartUpKey, ComparesKeysWithAsciiUpperCaseAndKeepsValuesUntrimmed) {
  const std::string script =
      "[StartUp]\r\n"
      "copyenabled=1\r\n"
      "CopyTarget = C:\\Blank\r\n"
      "SpaceMinMB= 20 \r\n"
      "Text=a=b=c\r\n"
      "Title=\r\n";
  EXPECT_EQ(Key(script, "CopyEnabled"), "1");
  EXPECT_EQ(Key(script, "CopyTarget"), "<none>");  // the key holds its trailing blank
  EXPECT_EQ(Key(script, "CopyTarget "), " C:\\Blank");
  EXPECT_EQ(Key(script, "SpaceMinMB"), " 20 ");
  EXPECT_EQ(Key(script, "Text"), "a=b=c");
  EXPECT_EQ(Key(script, "Title"), "");
  // Only ASCII letters are folded: an accented key must match byte for byte.
  EXPECT_EQ(Key("[StartUp]\r\n\xE1rv=1\r\n", "\xC1RV"), "<none>");
  EXPECT_EQ(Key("[StartUp]\r\n\xE1rv=1\r\n", "\xE1RV"), "1");
}

TEST(StartUpKey, LaterLinesOverrideAndTheNextSectionEndsTheReading) {
  const std::string script =
      "[Configuration]\r\nTitle=not this\r\n"
      "[StartUp]\r\nTitle=first\r\nnot a key line\r\nTitle=second\r\n"
      "[Other]\r\nTitle=third\r\n"
      "[StartUp]\r\nTitle=fourth\r\n";
  EXPECT_EQ(Key(script, "Title"), "second");
  // A line without "=" counts as an empty key whose value is the line.
  EXPECT_EQ(Key(script, ""), "not a key line");
}

TEST(StartUpKey, PlainScriptNeedsTheExactConfigurationLine) {
  EXPECT_TRUE(IsPlainScript("[StartUp]\r\nTitle=x\r\n[Configuration]\r\nLanguage=11\r\n"));
  EXPECT_TRUE(IsPlainScript("[Configuration]"));
  EXPECT_TRUE(IsPlainScript("x\n[Configuration]\n"));
  EXPECT_FALSE(IsPlainScript("[Configuration] \r\n"));
  EXPECT_FALSE(IsPlainScript("[configuration]\r\n"));
  EXPECT_FALSE(IsPlainScript("Text=[Configuration]\r\n"));
  EXPECT_FALSE(IsPlainScript(""));
}

}  // namespace
}  // namespace ostravel::startup
