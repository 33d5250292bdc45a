// Arbitrary bytes must round-trip through the SZDD writer and our expander, the
// expander must survive any file, and scrambling a line must undo exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "startup/scramble.h"
#include "tools/media/szdd_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const auto expanded = ostravel::media::SzddExpand(ostravel::media::SzddCompress(input, 'e'));
  if (!expanded || expanded->data != input || expanded->missingChar != 'e') std::abort();

  // As a compressed file in its own right: may be rejected, must not crash.
  std::string file(ostravel::media::kSzddMagic, sizeof ostravel::media::kSzddMagic);
  file += input;
  ostravel::media::SzddExpand(file);

  if (ostravel::startup::DescrambleLine(ostravel::startup::ScrambleLine(input)) != input) std::abort();
  return 0;
}
