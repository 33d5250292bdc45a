#pragma once
// Keys and signatures of signed update sites (ECDSA P-256 over SHA-256), made on the
// maker's machine with libcrypto. The installer only verifies (base/signature.h).
#include <string>
#include <string_view>

namespace ostravel::media {

struct SigningKeyPair {
  std::string privatePem;   // PKCS#8, unencrypted: keep it off the medium and the site
  std::string publicPoint;  // 0x04 || X || Y, what UpdateSigningKey holds in base64
};

// Both throw std::runtime_error: on a build without signing (Windows), or for a
// private key that is not a P-256 key.
SigningKeyPair GenerateSigningKey();
// The signature as the installer verifies it: r || s, 64 bytes.
std::string SignMessage(const std::string& privatePem, std::string_view message);

}  // namespace ostravel::media
