#include <openssl/evp.h>

#include <stdexcept>

#include "base/md5.h"
#include "base/text.h"

namespace ostravel {

struct Md5::State {
  EVP_MD_CTX* ctx = nullptr;
};

Md5::Md5() : state_(std::make_unique<State>()) {
  state_->ctx = EVP_MD_CTX_new();
  if (!state_->ctx || EVP_DigestInit_ex(state_->ctx, EVP_md5(), nullptr) != 1)
    throw std::runtime_error("MD5 is not available");
}

Md5::~Md5() { EVP_MD_CTX_free(state_->ctx); }

void Md5::Update(const void* data, size_t size) { EVP_DigestUpdate(state_->ctx, data, size); }

std::string Md5::HexDigest() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(state_->ctx, digest, &length);
  return UpperHex(digest, length);
}

}  // namespace ostravel
