#include <stdexcept>

#include "tools/media/site_signing.h"

namespace ostravel::media {

// Keys are made and sites signed on the maker's host, where libcrypto is.
SigningKeyPair GenerateSigningKey() { throw std::runtime_error("keys are made by the host build of ostravel-media"); }

std::string SignMessage(const std::string&, std::string_view) {
  throw std::runtime_error("sites are signed by the host build of ostravel-media");
}

}  // namespace ostravel::media
