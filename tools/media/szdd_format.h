#pragma once
// SZDD: the single-file LZSS format that the system's LZ expansion (LZOpenFile,
// LZCopy) reads. A 14-byte header, then groups of one flag byte (bit set: literal,
// least significant bit first) and eight items; a match is two bytes holding a
// 12-bit window position and a length of 3 to 18. The 4096-byte window starts full
// of blanks, with writing at 4096 - 16.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostravel::media {

inline constexpr char kSzddMagic[8] = {'S', 'Z', 'D', 'D', '\x88', '\xF0', '\x27', '\x33'};
inline constexpr size_t kSzddHeaderSize = 14;
inline constexpr size_t kSzddWindowSize = 4096;
inline constexpr size_t kSzddStartPosition = kSzddWindowSize - 16;
inline constexpr size_t kSzddMinMatch = 3;
inline constexpr size_t kSzddMaxMatch = 18;

// `missingChar` is the file name's last character that the "_" replaces (0: unknown).
std::string SzddCompress(std::string_view data, char missingChar);

struct SzddFile {
  char missingChar = 0;
  std::string data;
};

// Nullopt for a wrong header, data that ends inside an item, or a length that does
// not match the header.
std::optional<SzddFile> SzddExpand(std::string_view file);

}  // namespace ostravel::media
