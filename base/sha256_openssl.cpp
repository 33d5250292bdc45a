#include <openssl/evp.h>

#include <stdexcept>

#include "base/sha256.h"
#include "base/text.h"

namespace ostravel {

struct Sha256::State {
  EVP_MD_CTX* ctx = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  state_->ctx = EVP_MD_CTX_new();
  if (!state_->ctx || EVP_DigestInit_ex(state_->ctx, EVP_sha256(), nullptr) != 1)
    throw std::runtime_error("SHA-256 is not available");
}

Sha256::~Sha256() { EVP_MD_CTX_free(state_->ctx); }

void Sha256::Update(const void* data, size_t size) { EVP_DigestUpdate(state_->ctx, data, size); }

std::string Sha256::HexDigest() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(state_->ctx, digest, &length);
  return UpperHex(digest, length);
}

}  // namespace ostravel

namespace ostravel {

std::string Sha256Hex(std::string_view data) {
  Sha256 sha;
  sha.Update(data.data(), data.size());
  return sha.HexDigest();
}

}  // namespace ostravel
