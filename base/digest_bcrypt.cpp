// BCrypt is not a KnownDLL: it is loaded from the system folder only, on first use.
#include "base/win32/windows_clean.h"

#include <bcrypt.h>

#include <stdexcept>

#include "base/digest.h"
#include "base/text.h"
#include "base/win32/system_library.h"
#include "base/win32/unique_handle.h"

namespace ostravel {

namespace {

struct BcryptApi {
  decltype(&BCryptOpenAlgorithmProvider) open = nullptr;
  decltype(&BCryptCreateHash) create = nullptr;
  decltype(&BCryptHashData) hash = nullptr;
  decltype(&BCryptFinishHash) finish = nullptr;
  decltype(&BCryptDestroyHash) destroy = nullptr;
};

const BcryptApi& Api() {
  static const BcryptApi api = [] {
    constexpr const wchar_t* kDll = L"bcrypt.dll";
    BcryptApi a;
    a.open = win32::SystemProc<decltype(a.open)>(kDll, "BCryptOpenAlgorithmProvider");
    a.create = win32::SystemProc<decltype(a.create)>(kDll, "BCryptCreateHash");
    a.hash = win32::SystemProc<decltype(a.hash)>(kDll, "BCryptHashData");
    a.finish = win32::SystemProc<decltype(a.finish)>(kDll, "BCryptFinishHash");
    a.destroy = win32::SystemProc<decltype(a.destroy)>(kDll, "BCryptDestroyHash");
    if (!a.create || !a.hash || !a.finish || !a.destroy) a.open = nullptr;
    return a;
  }();
  return api;
}

// The provider of an algorithm, opened once for the process; nullptr when missing.
BCRYPT_ALG_HANDLE Provider(DigestAlgorithm algorithm) {
  auto open = [](const wchar_t* id) {
    BCRYPT_ALG_HANDLE provider = nullptr;
    if (!Api().open || !BCRYPT_SUCCESS(Api().open(&provider, id, nullptr, 0))) return BCRYPT_ALG_HANDLE(nullptr);
    return provider;
  };
  static const BCRYPT_ALG_HANDLE md5 = open(BCRYPT_MD5_ALGORITHM);
  static const BCRYPT_ALG_HANDLE sha256 = open(BCRYPT_SHA256_ALGORITHM);
  return algorithm == DigestAlgorithm::Md5 ? md5 : sha256;
}

void DestroyHashFn(BCRYPT_HASH_HANDLE hash) { Api().destroy(hash); }
using UniqueBcryptHash = win32::UniqueAny<BCRYPT_HASH_HANDLE, win32::HandleTraits<BCRYPT_HASH_HANDLE, DestroyHashFn>>;

}  // namespace

struct Digest::State {
  UniqueBcryptHash hash;
  ULONG size;
  const char* name;
};

Digest::Digest(DigestAlgorithm algorithm) : state_(std::make_unique<State>()) {
  const bool md5 = algorithm == DigestAlgorithm::Md5;
  state_->size = md5 ? 16 : 32;
  state_->name = md5 ? "MD5" : "SHA-256";
  BCRYPT_ALG_HANDLE provider = Provider(algorithm);
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!provider || !BCRYPT_SUCCESS(Api().create(provider, &hash, nullptr, 0, nullptr, 0, 0)))
    throw std::runtime_error(std::string(state_->name) + " is not available");
  state_->hash.reset(hash);
}

Digest::~Digest() = default;

void Digest::Update(const void* data, size_t size) {
  auto p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    ULONG chunk = size > 0x40000000 ? 0x40000000 : ULONG(size);
    if (!BCRYPT_SUCCESS(Api().hash(state_->hash.get(), const_cast<PUCHAR>(p), chunk, 0)))
      throw std::runtime_error(std::string(state_->name) + " hashing failed");
    p += chunk;
    size -= chunk;
  }
}

std::string Digest::HexDigest() {
  unsigned char digest[32];
  if (!BCRYPT_SUCCESS(Api().finish(state_->hash.get(), digest, state_->size, 0)))
    throw std::runtime_error(std::string(state_->name) + " hashing failed");
  return UpperHex(digest, state_->size);
}

}  // namespace ostravel
