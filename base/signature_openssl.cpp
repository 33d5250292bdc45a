#include <openssl/x509.h>

#include <memory>
#include <string>

#include "base/openssl_key.h"
#include "base/signature.h"

namespace ostravel {

namespace {

using openssl::ContextPtr;
using openssl::KeyPtr;
using openssl::kP256InfoHead;
using openssl::SigPtr;

// The decoder checks that the point lies on the curve.
KeyPtr ImportKey(std::string_view point) {
  if (point.size() != kSigningKeySize || point[0] != 0x04) return nullptr;
  std::string der(reinterpret_cast<const char*>(kP256InfoHead), sizeof kP256InfoHead);
  der.append(point);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(der.data());
  KeyPtr key(d2i_PUBKEY(nullptr, &p, long(der.size())));
  if (key && p != reinterpret_cast<const unsigned char*>(der.data()) + der.size()) key.reset();
  return key;
}

// libcrypto verifies the DER form of the signature.
std::string DerSignature(std::string_view raw) {
  SigPtr sig(ECDSA_SIG_new());
  if (!sig) return {};
  auto bytes = reinterpret_cast<const unsigned char*>(raw.data());
  BIGNUM* r = BN_bin2bn(bytes, 32, nullptr);
  BIGNUM* s = BN_bin2bn(bytes + 32, 32, nullptr);
  if (!r || !s || ECDSA_SIG_set0(sig.get(), r, s) != 1) {
    BN_free(r);
    BN_free(s);
    return {};
  }
  const int length = i2d_ECDSA_SIG(sig.get(), nullptr);
  if (length <= 0) return {};
  std::string der(size_t(length), '\0');
  unsigned char* out = reinterpret_cast<unsigned char*>(der.data());
  if (i2d_ECDSA_SIG(sig.get(), &out) != length) return {};
  return der;
}

}  // namespace

bool IsSigningKey(std::string_view publicKey) { return ImportKey(publicKey) != nullptr; }

bool VerifySignature(std::string_view publicKey, std::string_view message, std::string_view signature) {
  if (signature.size() != kSignatureSize) return false;
  KeyPtr key = ImportKey(publicKey);
  if (!key) return false;
  const std::string der = DerSignature(signature);
  if (der.empty()) return false;
  ContextPtr ctx(EVP_MD_CTX_new());
  if (!ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1) return false;
  return EVP_DigestVerify(ctx.get(), reinterpret_cast<const unsigned char*>(der.data()), der.size(),
                          reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
}

}  // namespace ostravel
