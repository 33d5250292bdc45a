#include <gtest/gtest.h>

#include <random>

#include "tools/media/szdd_format.h"

namespace ostravel::media {
namespace {

std::string Header(uint32_t length, char missing = 'e') {
  std::string h(kSzddMagic, sizeof kSzddMagic);
  h += 'A';
  h += missing;
  for (int i = 0; i < 4; ++i) h += static_cast<char>((length >> (8 * i)) & 0xFF);
  return h;
}

// Streams put together by hand, so the expander is not only checked against our writer.
TEST(Szdd, ExpandsHandMadeStreams) {
  // "ABC" as literals, then a match at window position 4080 (where writing began).
  auto abc = SzddExpand(Header(6) + std::string("\x07" "ABC" "\xF0\xF0", 6));
  ASSERT_TRUE(abc);
  EXPECT_EQ(abc->data, "ABCABC");
  EXPECT_EQ(abc->missingChar, 'e');
  // A match into the untouched window reads its initial blanks; length nibble 15 = 18.
  auto blanks = SzddExpand(Header(18) + std::string("\x00\x00\x0F", 3));
  ASSERT_TRUE(blanks);
  EXPECT_EQ(blanks->data, std::string(18, ' '));
}

TEST(Szdd, RejectsDamagedFiles) {
  const std::string good = SzddCompress("hello hello hello hello", 't');
  EXPECT_TRUE(SzddExpand(good));
  EXPECT_FALSE(SzddExpand(good.substr(0, 13)));
  EXPECT_FALSE(SzddExpand("KWAJ" + good.substr(4)));
  std::string badMode = good;
  badMode[8] = 'B';
  EXPECT_FALSE(SzddExpand(badMode));
  std::string longer = good;
  longer[10] = static_cast<char>(longer[10] + 1);
  EXPECT_FALSE(SzddExpand(longer));
  EXPECT_FALSE(SzddExpand(good.substr(0, good.size() - 1)));
}

TEST(Szdd, WritesTheHeaderTheSystemExpects) {
  const std::string packed = SzddCompress(std::string(70000, 'x'), 'e');
  ASSERT_GE(packed.size(), kSzddHeaderSize);
  EXPECT_EQ(packed.substr(0, 10), std::string("SZDD\x88\xF0\x27\x33" "Ae", 10));
  EXPECT_EQ(packed.substr(10, 4), std::string("\x70\x11\x01\x00", 4));
  EXPECT_LT(packed.size(), 70000u / 8);  // long runs become matches
}

TEST(Szdd, RoundTripsAwkwardInputs) {
  std::mt19937 rng(11);
  std::string random(50000, '\0');
  for (char& c : random) c = static_cast<char>(rng() & 0xFF);
  std::string lowEntropy(200000, '\0');
  for (char& c : lowEntropy) c = "\0\0\0 ab"[rng() % 6];
  std::string periodic;
  while (periodic.size() < 30000) periodic += "MZ\x90\x00\x03 This program cannot be run. ";
  std::string farRepeat = random.substr(0, 5000) + random.substr(0, 5000);  // beyond the window
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"one byte", "x"},
      {"leading blanks", std::string(40, ' ') + "x" + std::string(5000, ' ')},
      {"random", random},
      {"low entropy", lowEntropy},
      {"periodic", periodic},
      {"repeat beyond the window", farRepeat},
  };
  for (const auto& [name, data] : cases) {
    SCOPED_TRACE(name);
    const auto expanded = SzddExpand(SzddCompress(data, '_'));
    ASSERT_TRUE(expanded);
    EXPECT_EQ(expanded->data.size(), data.size());
    EXPECT_TRUE(expanded->data == data);
  }
}

}  // namespace
}  // namespace ostravel::media
