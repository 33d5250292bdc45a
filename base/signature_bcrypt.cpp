// BCrypt is not a KnownDLL: it is loaded from the system folder only, on first use.
#include "base/win32/windows_clean.h"

#include <bcrypt.h>

#include <cstring>
#include <exception>
#include <string>

#include "base/digest.h"
#include "base/signature.h"
#include "base/win32/system_library.h"
#include "base/win32/unique_handle.h"

namespace ostravel {

namespace {

struct BcryptKeyApi {
  decltype(&BCryptOpenAlgorithmProvider) open = nullptr;
  decltype(&BCryptImportKeyPair) import = nullptr;
  decltype(&BCryptVerifySignature) verify = nullptr;
  decltype(&BCryptDestroyKey) destroy = nullptr;
};

const BcryptKeyApi& Api() {
  static const BcryptKeyApi api = [] {
    constexpr const wchar_t* kDll = L"bcrypt.dll";
    BcryptKeyApi a;
    a.open = win32::SystemProc<decltype(a.open)>(kDll, "BCryptOpenAlgorithmProvider");
    a.import = win32::SystemProc<decltype(a.import)>(kDll, "BCryptImportKeyPair");
    a.verify = win32::SystemProc<decltype(a.verify)>(kDll, "BCryptVerifySignature");
    a.destroy = win32::SystemProc<decltype(a.destroy)>(kDll, "BCryptDestroyKey");
    if (!a.import || !a.verify || !a.destroy) a.open = nullptr;
    return a;
  }();
  return api;
}

// The ECDSA P-256 provider, opened once for the process; nullptr when missing.
BCRYPT_ALG_HANDLE Provider() {
  static const BCRYPT_ALG_HANDLE provider = [] {
    BCRYPT_ALG_HANDLE p = nullptr;
    if (!Api().open || !BCRYPT_SUCCESS(Api().open(&p, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)))
      return BCRYPT_ALG_HANDLE(nullptr);
    return p;
  }();
  return provider;
}

void DestroyKeyFn(BCRYPT_KEY_HANDLE key) { Api().destroy(key); }
using UniqueBcryptKey = win32::UniqueAny<BCRYPT_KEY_HANDLE, win32::HandleTraits<BCRYPT_KEY_HANDLE, DestroyKeyFn>>;

UniqueBcryptKey ImportKey(std::string_view point) {
  if (point.size() != kSigningKeySize || point[0] != 0x04 || !Provider()) return UniqueBcryptKey();
  // BCRYPT_ECCKEY_BLOB, then X and Y.
  std::string blob(sizeof(BCRYPT_ECCKEY_BLOB), '\0');
  BCRYPT_ECCKEY_BLOB head{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::memcpy(blob.data(), &head, sizeof head);
  blob.append(point.substr(1));
  BCRYPT_KEY_HANDLE key = nullptr;
  if (!BCRYPT_SUCCESS(Api().import(Provider(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &key,
                                   reinterpret_cast<PUCHAR>(blob.data()), ULONG(blob.size()), 0)))
    return UniqueBcryptKey();
  return UniqueBcryptKey(key);
}

std::string Sha256Bytes(std::string_view message) {
  const std::string hex = DigestHex(DigestAlgorithm::Sha256, message);
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

}  // namespace

bool IsSigningKey(std::string_view publicKey) { return bool(ImportKey(publicKey)); }

bool VerifySignature(std::string_view publicKey, std::string_view message, std::string_view signature) {
  if (signature.size() != kSignatureSize) return false;
  UniqueBcryptKey key = ImportKey(publicKey);
  if (!key) return false;
  std::string hash, sig(signature);
  try {
    hash = Sha256Bytes(message);
  } catch (const std::exception&) {
    return false;
  }
  return BCRYPT_SUCCESS(Api().verify(key.get(), nullptr, reinterpret_cast<PUCHAR>(hash.data()), ULONG(hash.size()),
                                     reinterpret_cast<PUCHAR>(sig.data()), ULONG(sig.size()), 0));
}

}  // namespace ostravel
