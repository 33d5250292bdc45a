// SHA-256 through BCrypt, loaded from the system folder only, on first use.
#include "base/win32/windows_clean.h"
#include <bcrypt.h>

#include <stdexcept>

#include "base/sha256.h"
#include "base/text.h"
#include "base/win32/system_library.h"

namespace ostravel {
namespace {

struct BcryptApi {
  decltype(&BCryptOpenAlgorithmProvider) open = nullptr;
  decltype(&BCryptCreateHash) create = nullptr;
  decltype(&BCryptHashData) hash = nullptr;
  decltype(&BCryptFinishHash) finish = nullptr;
  decltype(&BCryptDestroyHash) destroy = nullptr;
  BCRYPT_ALG_HANDLE sha = nullptr;
};

template <typename Fn>
Fn Proc(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const BcryptApi& Api() {
  static const BcryptApi api = [] {
    BcryptApi a;
    HMODULE module = win32::SystemModule(L"bcrypt.dll");
    if (!module) return a;
    a.open = Proc<decltype(a.open)>(module, "BCryptOpenAlgorithmProvider");
    a.create = Proc<decltype(a.create)>(module, "BCryptCreateHash");
    a.hash = Proc<decltype(a.hash)>(module, "BCryptHashData");
    a.finish = Proc<decltype(a.finish)>(module, "BCryptFinishHash");
    a.destroy = Proc<decltype(a.destroy)>(module, "BCryptDestroyHash");
    if (a.open && a.open(&a.sha, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) a.sha = nullptr;
    return a;
  }();
  return api;
}

}  // namespace

struct Sha256::State {
  BCRYPT_HASH_HANDLE hash = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  const BcryptApi& api = Api();
  if (!api.sha || !api.create || !api.hash || !api.finish || !api.destroy ||
      api.create(api.sha, &state_->hash, nullptr, 0, nullptr, 0, 0) != 0)
    throw std::runtime_error("SHA-256 is not available");
}

Sha256::~Sha256() {
  if (state_->hash) Api().destroy(state_->hash);
}

void Sha256::Update(const void* data, size_t size) {
  auto p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    ULONG chunk = size > 0x40000000 ? 0x40000000 : ULONG(size);
    Api().hash(state_->hash, const_cast<PUCHAR>(p), chunk, 0);
    p += chunk;
    size -= chunk;
  }
}

std::string Sha256::HexDigest() {
  unsigned char digest[32];
  Api().finish(state_->hash, digest, sizeof digest, 0);
  return UpperHex(digest, sizeof digest);
}

}  // namespace ostravel

namespace ostravel {

std::string Sha256Hex(std::string_view data) {
  Sha256 sha;
  sha.Update(data.data(), data.size());
  return sha.HexDigest();
}

}  // namespace ostravel
