#include "startup/scramble.h"

#include <gtest/gtest.h>

#include <random>

#include "startup/startup_key.h"

namespace ostravel::startup {
namespace {

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string s;
  for (unsigned v : values) s += static_cast<char>(v);
  return s;
}

// Worked out by hand from the key: rotation amounts 2, 6, 0, 3, 7, 2, 7, 5, ...;
// scrambling rotates right at odd positions and left at even ones.
TEST(Scramble, MatchesTheKnownScrambledHeaders) {
  const std::string welcome =
      Bytes({0xd6, 0xd5, 0x65, 0x63, 0xc6, 0xbd, 0xda, 0xac, 0x80, 0x0a, 0xb0, 0xd9, 0x59, 0xab});
  EXPECT_EQ(ScrambleLine("[Welcome Page]"), welcome);
  EXPECT_EQ(DescrambleLine(welcome), "[Welcome Page]");
  EXPECT_EQ(ScrambleLine("[StartUp]"), Bytes({0xd6, 0xd4, 0x74, 0x0b, 0xe4, 0xd1, 0xaa, 0x0e, 0x75}));
}

TEST(Scramble, KeyRestartsOnEveryLineAndWrapsAfterItsLastCharacter) {
  const std::string longLine(100, 'A');
  const std::string scrambled = ScrambleLine(longLine);
  // The key is 44 characters; its pattern repeats from there (88 keeps the parity too).
  EXPECT_EQ(scrambled.substr(0, 12), scrambled.substr(88, 12));
  const std::string file = ScrambleLine("Title=x") + "\r\n" + ScrambleLine("Title=x") + "\r\n";
  EXPECT_EQ(DescrambleScript(file), "Title=x\r\nTitle=x\r\n");
}

TEST(Scramble, SplitsScrambledFilesAtCrLfPairsOnly) {
  const std::string plain = "[Welcome Page]\r\nVisible=1\r\n[Configuration]\r\nLanguage=11\r\n";
  const ScrambleResult result = ScrambleScript(plain);
  ASSERT_EQ(result.error, "");
  ASSERT_NE(result.data.find('\n'), result.data.rfind('\n'));
  EXPECT_FALSE(IsPlainScript(result.data));
  EXPECT_EQ(DescrambleScript(result.data), plain);

  // Lone CR and LF bytes at either end of a scrambled line stay data.
  const std::string endsInCr = DescrambleLine("ab\r");
  const std::string startsWithLf = DescrambleLine("\nab");
  const std::string file = "ab\r\r\n\nab\r\n\r\n";
  EXPECT_EQ(DescrambleScript(file), endsInCr + "\r\n" + startsWithLf + "\r\n" + "\r\n");
}

TEST(Scramble, RoundTripsEveryByteValueOutsideLineBreaks) {
  std::mt19937 rng(7);
  std::string plain;
  for (int line = 0; line < 200; ++line) {
    std::string text;
    do {
      text.clear();
      const int len = static_cast<int>(rng() % 120);
      for (int i = 0; i < len; ++i) {
        char c;
        do c = static_cast<char>(rng() & 0xFF); while (c == '\r' || c == '\n');
        text += c;
      }
    } while (ScrambleLine(text).find("\r\n") != std::string::npos);  // refused, tested below
    plain += text + "\r\n";
  }
  plain += "[Configuration]\r\n";
  const ScrambleResult result = ScrambleScript(plain);
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(DescrambleScript(result.data), plain);
}

TEST(Scramble, NormalisesPlainLineBreaksToCrLf) {
  const ScrambleResult result = ScrambleScript("[Configuration]\nLanguage=11\rTitle=x");
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(DescrambleScript(result.data), "[Configuration]\r\nLanguage=11\r\nTitle=x\r\n");
}

TEST(Scramble, RefusesLinesThatWouldBreakApartNamingTheLine) {
  const std::string breaker = "Title=" + DescrambleLine(std::string(6, 'x') + "\r\n").substr(6);
  ASSERT_EQ(breaker.find_first_of("\r\n"), std::string::npos);
  ASSERT_EQ(ScrambleLine(breaker).find("\r\n"), 6u);
  const ScrambleResult result = ScrambleScript("[StartUp]\r\n" + breaker + "\r\n");
  EXPECT_EQ(result.data, "");
  EXPECT_NE(result.error.find("line 2"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("Title="), std::string::npos) << result.error;
}

TEST(Scramble, RefusesOutputThatWouldPassForAPlainScript) {
  // A plain line whose scrambled form holds a lone LF followed by "[Configuration]".
  std::string disguised;
  for (size_t k = 0; k < 44 && disguised.empty(); ++k) {
    std::string candidate = DescrambleLine(std::string(k, 'x') + "\n[Configuration]");
    if (candidate.find_first_of("\r\n") == std::string::npos) disguised = candidate;
  }
  ASSERT_NE(disguised, "");
  const ScrambleResult result = ScrambleScript("[StartUp]\r\n" + disguised + "\r\n");
  EXPECT_EQ(result.data, "");
  EXPECT_NE(result.error, "");
}

}  // namespace
}  // namespace ostravel::startup
