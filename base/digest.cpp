#include "base/digest.h"

namespace ostravel {

std::string DigestHex(DigestAlgorithm algorithm, std::string_view data) {
  Digest digest(algorithm);
  digest.Update(data.data(), data.size());
  return digest.HexDigest();
}

}  // namespace ostravel
