// A plain SZDD expander: our own check of what the writer produces.
#include <algorithm>
#include <cstring>

#include "tools/media/szdd_format.h"

namespace ostravel::media {

std::optional<SzddFile> SzddExpand(std::string_view file) {
  if (file.size() < kSzddHeaderSize || std::memcmp(file.data(), kSzddMagic, sizeof kSzddMagic) != 0 ||
      file[8] != 'A') {
    return std::nullopt;
  }
  SzddFile result;
  result.missingChar = file[9];
  uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length |= static_cast<uint32_t>(static_cast<unsigned char>(file[10 + i])) << (8 * i);

  unsigned char window[kSzddWindowSize];
  std::memset(window, ' ', sizeof window);
  size_t pos = kSzddStartPosition;
  size_t in = kSzddHeaderSize;
  std::string& out = result.data;
  // The header's length bounds the output: a bogus length must not make us allocate.
  out.reserve(std::min<size_t>(length, file.size() * 9));
  while (in < file.size()) {
    const unsigned flags = static_cast<unsigned char>(file[in++]);
    for (int bit = 0; bit < 8 && in < file.size(); ++bit) {
      if (flags & (1u << bit)) {
        const unsigned char c = static_cast<unsigned char>(file[in++]);
        out += static_cast<char>(c);
        window[pos] = c;
        pos = (pos + 1) % kSzddWindowSize;
        continue;
      }
      if (in + 2 > file.size()) return std::nullopt;
      const unsigned lo = static_cast<unsigned char>(file[in]);
      const unsigned hi = static_cast<unsigned char>(file[in + 1]);
      in += 2;
      size_t from = lo | ((hi & 0xF0) << 4);
      for (size_t n = (hi & 0x0F) + kSzddMinMatch; n > 0; --n) {
        const unsigned char c = window[from];
        out += static_cast<char>(c);
        window[pos] = c;
        pos = (pos + 1) % kSzddWindowSize;
        from = (from + 1) % kSzddWindowSize;
      }
    }
    if (out.size() > length) return std::nullopt;
  }
  if (out.size() != length) return std::nullopt;
  return result;
}

}  // namespace ostravel::media
