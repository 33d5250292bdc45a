#pragma once
// A minimal PE image with one ".rsrc" section holding a version resource, laid out
// as the linker would: the doubles for the version reader and the medium builder.
#include <cstdint>
#include <string>

namespace ostravel::media::pe_testing {

struct PeLayout {
  bool pe32Plus = false;
  uint32_t fileMS = 0x07EA0001, fileLS = 0x00040011;  // 2026.1.4.17
  uint32_t productMS = 0x07EA0001, productLS = 0;     // 2026.1.0.0
};

inline void Put16(std::string& b, size_t at, uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2, '\0');
  b[at] = char(v & 0xFF), b[at + 1] = char((v >> 8) & 0xFF);
}
inline void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// Offsets inside the image, for damage tests.
inline constexpr size_t kPeHeader = 0x40, kResource = 0x200, kVersionInfo = kResource + 0x58;

inline std::string MakePeImage(const PeLayout& l = {}) {
  std::string b(kResource, '\0');
  b[0] = 'M', b[1] = 'Z';
  Put32(b, 0x3C, kPeHeader);
  b.replace(kPeHeader, 4, std::string("PE\0\0", 4));
  const size_t coff = kPeHeader + 4, opt = coff + 20;
  const uint32_t optSize = l.pe32Plus ? 240 : 224, dirs = l.pe32Plus ? 112 : 96;
  Put16(b, coff, l.pe32Plus ? 0x8664 : 0x14C);
  Put16(b, coff + 2, 1);
  Put16(b, coff + 16, optSize);
  Put16(b, opt, l.pe32Plus ? 0x20B : 0x10B);
  Put32(b, opt + dirs - 4, 16);
  Put32(b, opt + dirs + 2 * 8, 0x1000);
  Put32(b, opt + dirs + 2 * 8 + 4, 0x100);
  const size_t section = opt + optSize;
  b.replace(section, 5, ".rsrc");
  Put32(b, section + 8, 0x100);
  Put32(b, section + 12, 0x1000);
  Put32(b, section + 16, 0x100);
  Put32(b, section + 20, kResource);
  // Type 16, then name 1, then language 0x40E, each a directory of one entry.
  const uint32_t levels[3][2] = {{16, 0x80000018}, {1, 0x80000030}, {0x40E, 0x48}};
  for (int i = 0; i < 3; ++i) {
    const size_t dir = kResource + size_t(i) * 0x18;
    Put16(b, dir + 14, 1);
    Put32(b, dir + 16, levels[i][0]);
    Put32(b, dir + 20, levels[i][1]);
  }
  Put32(b, kResource + 0x48, 0x1058);
  Put32(b, kResource + 0x4C, 92);
  Put16(b, kVersionInfo, 92);
  Put16(b, kVersionInfo + 2, 52);
  const char16_t key[] = u"VS_VERSION_INFO";
  for (size_t i = 0; i < 16; ++i) Put16(b, kVersionInfo + 6 + i * 2, key[i]);
  const uint32_t fixed[] = {0xFEEF04BD, 0x10000, l.fileMS, l.fileLS, l.productMS, l.productLS};
  for (size_t i = 0; i < 6; ++i) Put32(b, kVersionInfo + 40 + i * 4, fixed[i]);
  b.resize(kResource + 0x100, '\0');
  return b;
}

}  // namespace ostravel::media::pe_testing
