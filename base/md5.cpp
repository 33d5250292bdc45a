#include "base/md5.h"

namespace ostravel {

std::string Md5Hex(std::string_view data) {
  Md5 md5;
  md5.Update(data.data(), data.size());
  return md5.HexDigest();
}

}  // namespace ostravel
