#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "base/text.h"
#include "base/version_text.h"

namespace ostravel {
namespace {

TEST(Cp1250, RoundTripsEveryByteThroughUtf16) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(char(b));
  EXPECT_EQ(Utf16ToCp1250(Cp1250ToUtf16(all)), all);
  EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, MapsHungarianLettersAndUnknownCharacters) {
  // "ő" and "ű" are the letters code pages most often get wrong.
  EXPECT_EQ(Cp1250ToUtf16("\xF5\xFB\xD5\xDB"), u"\u0151\u0171\u0150\u0170");
  EXPECT_EQ(Cp1250ToUtf8("Frissítve"), "Friss\xC3\xADtve");
  EXPECT_EQ(Utf16ToCp1250(u"\u4E2D"), "?");  // no CP1250 byte
  EXPECT_EQ(Utf8ToCp1250("\xE2\x82\xAC"), "\x80");  // euro sign
  EXPECT_EQ(Utf8ToCp1250("a\xC3"), "a?");  // truncated sequence
}

TEST(Cp1250, CaseMappingCoversAccentedLetters) {
  EXPECT_EQ(UpperCase("árvíztűrő tükörfúrógép"), "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP");
  EXPECT_EQ(LowerCase("ÁRVÍZTŰRŐ ŠŽŁ"), "árvíztűrő šžł");
  EXPECT_EQ(UpperCase("\xDF\xFF"), "\xDF\xFF");  // sharp s and dot above have no capital
  EXPECT_TRUE(SameText("[Welcome Page]", "[WELCOME page]"));
  EXPECT_TRUE(SameText("Őszi", "őSZI"));
  EXPECT_FALSE(SameText("abc", "abcd"));
}

TEST(TextUtilities, CollapseTokenAndTrailing) {
  EXPECT_EQ(CollapseRepeats("C:\\\\Program Files\\\\\\x", '\\'), "C:\\Program Files\\x");
  EXPECT_EQ(CollapseRepeats("", '\\'), "");
  EXPECT_EQ(CollapseRepeats("\\\\", '\\'), "\\");

  std::string text = "a;b;;c";
  EXPECT_EQ(NextToken(text, ';'), "a");
  EXPECT_EQ(text, "b;;c");
  EXPECT_EQ(NextToken(text, ';'), "b");
  EXPECT_EQ(NextToken(text, ';'), "");
  EXPECT_EQ(NextToken(text, ';'), "c");
  EXPECT_EQ(text, "");

  EXPECT_EQ(WithTrailing("C:\\x", '\\'), "C:\\x\\");
  EXPECT_EQ(WithTrailing("C:\\x\\", '\\'), "C:\\x\\");
  EXPECT_EQ(WithTrailing("", '\\'), "");
  EXPECT_EQ(WithoutTrailing("C:\\x\\\\", '\\'), "C:\\x\\");
  EXPECT_EQ(WithoutTrailing("", '\\'), "");
}

TEST(TextUtilities, CommandLineKeepsBackslashesAndDropsQuotes) {
  using V = std::vector<std::string>;
  // The launcher's line: the folder's closing backslash must not eat the quote.
  EXPECT_EQ(SplitCommandLine("\"C:\\Temp\\Ostravel 1\\installer.exe\" /l\"C:\\medium\\\" /silent /dc"),
            (V{"C:\\Temp\\Ostravel 1\\installer.exe", "/lC:\\medium\\", "/silent", "/dc"}));
  EXPECT_EQ(SplitCommandLine("setup.exe /u /l\"C:\\Program Files\\Lumbra\\install.log\""),
            (V{"setup.exe", "/u", "/lC:\\Program Files\\Lumbra\\install.log"}));
  EXPECT_EQ(SplitCommandLine("  a\t\"\"  b\"c d\"e  "), (V{"a", "", "bc de"}));
  EXPECT_EQ(SplitCommandLine("x \"open to the end"), (V{"x", "open to the end"}));
  EXPECT_EQ(SplitCommandLine(""), V{});
}

TEST(TextUtilities, TrimTakesBlanksAndControlCharacters) {
  EXPECT_EQ(Trim(" \t\x01 Count = 2 \r\x1f"), "Count = 2");
  EXPECT_EQ(Trim("   "), "");
}

TEST(TextUtilities, ParseIntegerFollowsTheScriptRules) {
  struct Case {
    const char* text;
    std::optional<int32_t> expected;
  } cases[] = {
      {"12", 12}, {"-12", -12}, {"+7", 7}, {"0x10", 16}, {"0X1f", 31}, {"$FF", 255},
      {"$FFFFFFFF", -1}, {"0x", std::nullopt}, {"", std::nullopt}, {"yes", std::nullopt},
      {"1 2", std::nullopt}, {"2147483647", 2147483647}, {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN}, {"0x123456789", std::nullopt}, {"-", std::nullopt},
      {"12a", std::nullopt}, {"99999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseInteger(c.text), c.expected);
  }
}

TEST(TextUtilities, SplitLinesAcceptsEveryLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(VersionText, ComparesAsPlainTextNotNumbers) {
  EXPECT_EQ(CompareVersionText("2.5.4.26856", "2.5.4.26856"), 0);
  EXPECT_LT(CompareVersionText("2.5.4.26856", "2.5.4.3"), 0);  // "2" < "3"
  EXPECT_GT(CompareVersionText("9.0.0.0", "10.0.0.0"), 0);
  EXPECT_LT(CompareVersionText("2.5", "2.5.0.0"), 0);
  EXPECT_GT(CompareVersionText("\xE1", "a"), 0);  // bytes compare unsigned
}

}  // namespace
}  // namespace ostravel
