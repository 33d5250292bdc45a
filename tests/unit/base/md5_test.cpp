#include <gtest/gtest.h>

#include "base/md5.h"

namespace ostravel {
namespace {

TEST(Md5, KnownDigestsInUpperCaseHex) {
  // RFC 1321's test suite.
  EXPECT_EQ(Md5Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(Md5Hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
            "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(Md5, PiecesGiveTheDigestOfTheWhole) {
  std::string data;
  for (int i = 0; i < 100000; ++i) data.push_back(char(i * 7));
  Md5 md5;
  md5.Update(data.data(), 1);
  md5.Update(data.data() + 1, 16383);
  md5.Update(data.data() + 16384, data.size() - 16384);
  EXPECT_EQ(md5.HexDigest(), Md5Hex(data));
}

}  // namespace
}  // namespace ostravel
