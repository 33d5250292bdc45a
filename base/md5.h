#pragma once
// MD5 digests of package archives and installed files, written as 32 upper-case
// hexadecimal digits.
#include <string>
#include <string_view>

#include "base/digest.h"

namespace ostravel {

class Md5 : public Digest {
 public:
  Md5() : Digest(DigestAlgorithm::Md5) {}
};

inline std::string Md5Hex(std::string_view data) { return DigestHex(DigestAlgorithm::Md5, data); }

}  // namespace ostravel
