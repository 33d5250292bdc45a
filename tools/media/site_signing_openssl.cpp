#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "base/openssl_key.h"
#include "base/signature.h"
#include "tools/media/site_signing.h"

namespace ostravel::media {

namespace {

struct FreeBio {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
using openssl::ContextPtr;
using openssl::KeyPtr;
using openssl::kP256InfoHead;
using openssl::SigPtr;

// The uncompressed point of a P-256 key; throws for any other key.
std::string PublicPoint(EVP_PKEY* key) {
  const int length = i2d_PUBKEY(key, nullptr);
  if (length != int(sizeof kP256InfoHead + kSigningKeySize)) throw std::runtime_error("not a P-256 key");
  std::string der(size_t(length), '\0');
  unsigned char* out = reinterpret_cast<unsigned char*>(der.data());
  if (i2d_PUBKEY(key, &out) != length || std::memcmp(der.data(), kP256InfoHead, sizeof kP256InfoHead) != 0)
    throw std::runtime_error("not a P-256 key");
  return der.substr(sizeof kP256InfoHead);
}

}  // namespace

SigningKeyPair GenerateSigningKey() {
  KeyPtr key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
  if (!key) throw std::runtime_error("cannot make a P-256 key");
  std::unique_ptr<BIO, FreeBio> bio(BIO_new(BIO_s_mem()));
  if (!bio || PEM_write_bio_PrivateKey(bio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1)
    throw std::runtime_error("cannot write the private key");
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return {std::string(data, size_t(size)), PublicPoint(key.get())};
}

std::string SignMessage(const std::string& privatePem, std::string_view message) {
  std::unique_ptr<BIO, FreeBio> bio(BIO_new_mem_buf(privatePem.data(), int(privatePem.size())));
  KeyPtr key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key) throw std::runtime_error("not a PEM private key");
  PublicPoint(key.get());
  ContextPtr ctx(EVP_MD_CTX_new());
  size_t length = 0;
  auto msg = reinterpret_cast<const unsigned char*>(message.data());
  if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(ctx.get(), nullptr, &length, msg, message.size()) != 1)
    throw std::runtime_error("cannot sign");
  std::string der(length, '\0');
  if (EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(der.data()), &length, msg, message.size()) != 1)
    throw std::runtime_error("cannot sign");
  const unsigned char* p = reinterpret_cast<const unsigned char*>(der.data());
  SigPtr sig(d2i_ECDSA_SIG(nullptr, &p, long(length)));
  if (!sig) throw std::runtime_error("cannot sign");
  // BCrypt verifies r || s, each padded to the curve's 32 bytes.
  std::string raw(kSignatureSize, '\0');
  auto out = reinterpret_cast<unsigned char*>(raw.data());
  if (BN_bn2binpad(ECDSA_SIG_get0_r(sig.get()), out, 32) != 32 ||
      BN_bn2binpad(ECDSA_SIG_get0_s(sig.get()), out + 32, 32) != 32)
    throw std::runtime_error("cannot sign");
  return raw;
}

}  // namespace ostravel::media
