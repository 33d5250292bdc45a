// Any bytes, as a PE file or with a valid-looking PE header in front, must give a
// version or none, never a read outside the buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/media/pe_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  ostravel::media::MemorySource raw(bytes);
  ostravel::media::ReadPeVersion(raw);
  // Also behind a fixed "MZ" stub pointing at a PE signature, so the fuzzer spends
  // its time in the section table and the resource tree.
  std::string framed(0x40, '\0');
  framed[0] = 'M', framed[1] = 'Z', framed[0x3C] = 0x40;
  framed += std::string("PE\0\0", 4) + bytes;
  ostravel::media::MemorySource wrapped(framed);
  ostravel::media::ReadPeVersion(wrapped);
  return 0;
}
