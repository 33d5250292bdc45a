#pragma once
// SHA-256 digests of downloaded archives, as 64 upper-case hexadecimal digits.
#include <string>
#include <string_view>

#include "base/digest.h"

namespace ostravel {

class Sha256 : public Digest {
 public:
  Sha256() : Digest(DigestAlgorithm::Sha256) {}
};

inline std::string Sha256Hex(std::string_view data) { return DigestHex(DigestAlgorithm::Sha256, data); }

}  // namespace ostravel
