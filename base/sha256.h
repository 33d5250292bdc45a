#pragma once
// SHA-256 digests of downloaded archives, as 64 upper-case hexadecimal digits.
// The system's implementation does the hashing: BCrypt on Windows, libcrypto on the
// host.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ostravel {

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  // The digest of everything given so far; the object is then spent.
  std::string HexDigest();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string Sha256Hex(std::string_view data);

}  // namespace ostravel
