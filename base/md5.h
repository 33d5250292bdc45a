#pragma once
// MD5 digests of package archives and installed files, written as 32 upper-case
// hexadecimal digits. The system's implementation does the hashing: BCrypt on
// Windows, libcrypto on the host.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ostravel {

class Md5 {
 public:
  Md5();
  ~Md5();
  Md5(const Md5&) = delete;
  Md5& operator=(const Md5&) = delete;

  void Update(const void* data, size_t size);
  // The digest of everything given so far; the object is then spent.
  std::string HexDigest();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string Md5Hex(std::string_view data);

}  // namespace ostravel
