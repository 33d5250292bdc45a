#include <openssl/evp.h>

#include <stdexcept>

#include "base/digest.h"
#include "base/text.h"

namespace ostravel {

namespace {

struct FreeContext {
  void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};

}  // namespace

struct Digest::State {
  std::unique_ptr<EVP_MD_CTX, FreeContext> ctx;
  const char* name;
};

Digest::Digest(DigestAlgorithm algorithm) : state_(std::make_unique<State>()) {
  const bool md5 = algorithm == DigestAlgorithm::Md5;
  state_->name = md5 ? "MD5" : "SHA-256";
  state_->ctx.reset(EVP_MD_CTX_new());
  if (!state_->ctx || EVP_DigestInit_ex(state_->ctx.get(), md5 ? EVP_md5() : EVP_sha256(), nullptr) != 1)
    throw std::runtime_error(std::string(state_->name) + " is not available");
}

Digest::~Digest() = default;

void Digest::Update(const void* data, size_t size) {
  if (EVP_DigestUpdate(state_->ctx.get(), data, size) != 1)
    throw std::runtime_error(std::string(state_->name) + " hashing failed");
}

std::string Digest::HexDigest() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(state_->ctx.get(), digest, &length) != 1)
    throw std::runtime_error(std::string(state_->name) + " hashing failed");
  return UpperHex(digest, length);
}

}  // namespace ostravel
