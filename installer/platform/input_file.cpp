#include "installer/platform/platform.h"

namespace ostravel::platform {

bool InputFile::Skip(uint64_t count) {
  char buffer[8192];
  while (count > 0) {
    size_t want = count < sizeof buffer ? size_t(count) : sizeof buffer;
    int64_t n = Read(buffer, want);
    if (n <= 0) return false;
    count -= uint64_t(n);
  }
  return true;
}

}  // namespace ostravel::platform
