#pragma once
// Message digests as upper-case hexadecimal text, computed by the system's
// implementation: BCrypt on Windows, libcrypto on the host. One helper for every
// algorithm; Md5 and Sha256 (md5.h, sha256.h) name its two uses.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ostravel {

enum class DigestAlgorithm { Md5, Sha256 };

class Digest {
 public:
  // Throws std::runtime_error when the system has no such algorithm.
  explicit Digest(DigestAlgorithm algorithm);
  ~Digest();
  Digest(const Digest&) = delete;
  Digest& operator=(const Digest&) = delete;

  // Both throw std::runtime_error when the system's hashing fails: a digest of
  // less than was given must never come back.
  void Update(const void* data, size_t size);
  // The digest of everything given so far; the object is then spent.
  std::string HexDigest();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string DigestHex(DigestAlgorithm algorithm, std::string_view data);

}  // namespace ostravel
