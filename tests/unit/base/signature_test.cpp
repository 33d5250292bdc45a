#include <gtest/gtest.h>

#include <string>

#include "base/base64.h"
#include "base/signature.h"

namespace ostravel {
namespace {

// Made once with the openssl command line (ecparam prime256v1, dgst -sha256 -sign),
// so the check does not lean on our own signing code.
constexpr const char* kKey = "BHkz/IE4LsXSaefV/B6fXc9ny++Nr0JhlCmBaMGw92+h7/KhC5L8O529VKTISD14v4To2ZXBooWm5JF2Q36W7Zc=";
constexpr const char* kOtherKey =
    "BCcn95e3Oo0ZxB+kz25nxRdnPb3aThIHqbypJFdIFlfbeRIT58MkGtTKJMMK/NnHl1Yp5gK7Q9+O5jELiACXQDY=";
constexpr const char* kMessage = "[Configuration]\r\nRqInstallerVersion=1.0.0.0\r\n";
constexpr const char* kSignature =
    "q69vdHnmQdr3RhLxolGfyLgzK0QKdM0CDiVNoY8iY4AKjxBBHKSsZXKs3idJPXfOXVhpmfBzYu3i5Ai4wJPuiQ==";

std::string Bytes(const char* base64) { return Base64Decode(base64).value(); }

std::string Flipped(std::string bytes, size_t at) {
  bytes[at] = char(bytes[at] ^ 0x01);
  return bytes;
}

TEST(Signature, AcceptsOnlyTheSignatureOfTheMessageByTheKey) {
  const std::string key = Bytes(kKey), sig = Bytes(kSignature);
  ASSERT_EQ(key.size(), kSigningKeySize);
  ASSERT_EQ(sig.size(), kSignatureSize);
  std::string compressed = key.substr(0, 33);
  compressed[0] = 0x03;
  const struct {
    const char* name;
    std::string key, message, signature;
    bool valid;
  } cases[] = {
      {"good", key, kMessage, sig, true},
      {"missing signature", key, kMessage, "", false},
      {"truncated signature", key, kMessage, sig.substr(0, 63), false},
      {"wrong key", Bytes(kOtherKey), kMessage, sig, false},
      {"bit flipped in r", key, kMessage, Flipped(sig, 5), false},
      {"bit flipped in s", key, kMessage, Flipped(sig, 63), false},
      {"zero signature", key, kMessage, std::string(64, '\0'), false},
      {"message changed", key, Flipped(kMessage, 20), sig, false},
      {"empty key", "", kMessage, sig, false},
      {"compressed key", compressed, kMessage, sig, false},
      {"point off the curve", Flipped(key, 64), kMessage, sig, false},
      {"key of the wrong form", "\x05" + key.substr(1), kMessage, sig, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VerifySignature(c.key, c.message, c.signature), c.valid);
  }
  EXPECT_TRUE(IsSigningKey(key));
  EXPECT_FALSE(IsSigningKey(Flipped(key, 64)) || IsSigningKey(compressed) || IsSigningKey(""));
}

TEST(Base64, RoundTripsAndRejectsWhatIsNotBase64) {
  for (const std::string& bytes :
       {std::string(), std::string("f"), std::string("fo"), std::string("foo"), std::string("\0\xff\x80\x7f", 4)}) {
    EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes);
  }
  EXPECT_EQ(Base64Encode("foob"), "Zm9vYg==");
  EXPECT_EQ(Base64Decode(" Zm9v\r\nYmE=\r\n"), std::optional<std::string>("fooba"));
  for (const char* bad : {"Zm9", "Zm9v!A==", "Zg=A", "Z===", "Zg==Zg==", "=Zg="}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(Base64Decode(bad), std::nullopt);
  }
}

}  // namespace
}  // namespace ostravel
