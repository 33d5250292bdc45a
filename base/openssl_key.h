#pragma once
// Owners of libcrypto objects and the DER head of a P-256 public key, shared by the
// host's OpenSSL code: the verifier here and the maker's signer in tools/media.
#include <openssl/ecdsa.h>
#include <openssl/evp.h>

#include <memory>

namespace ostravel::openssl {

struct FreeKey {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct FreeContext {
  void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};
struct FreeSig {
  void operator()(ECDSA_SIG* sig) const { ECDSA_SIG_free(sig); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, FreeKey>;
using ContextPtr = std::unique_ptr<EVP_MD_CTX, FreeContext>;
using SigPtr = std::unique_ptr<ECDSA_SIG, FreeSig>;

// The DER SubjectPublicKeyInfo of a P-256 key is this head and the 65-byte point.
inline constexpr unsigned char kP256InfoHead[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48,
                                                  0xce, 0x3d, 0x02, 0x01, 0x06, 0x08, 0x2a, 0x86, 0x48,
                                                  0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00};

}  // namespace ostravel::openssl
