#include "tools/media/pe_version.h"

#include <gtest/gtest.h>

#include "tests/unit/media/pe_test_support.h"

namespace ostravel::media {
namespace {

using namespace pe_testing;

std::optional<PeVersion> Read(const std::string& image) {
  MemorySource source(image);
  return ReadPeVersion(source);
}

TEST(PeVersion, ReadsBothHeaderFormsAndFormatsTheScriptTexts) {
  for (bool plus : {false, true}) {
    SCOPED_TRACE(plus ? "PE32+" : "PE32");
    PeLayout layout;
    layout.pe32Plus = plus;
    layout.productLS = 0x00070000;
    auto v = Read(MakePeImage(layout));
    ASSERT_TRUE(v);
    EXPECT_EQ(ModuleVersionText(*v), "2026.1.4.17");
    // Product major and release, the release with two digits.
    EXPECT_EQ(ProductVersionText(*v), "2026.07");
  }
}

TEST(PeVersion, NamesTheProcessorAProgramIsBuiltFor) {
  auto machine = [](const std::string& image) {
    MemorySource source(image);
    return ReadPeMachine(source);
  };
  EXPECT_EQ(machine(MakePeImage()), "i686");
  PeLayout plus;
  plus.pe32Plus = true;
  EXPECT_EQ(machine(MakePeImage(plus)), "x86_64");
  std::string arm = MakePeImage();
  Put16(arm, kPeHeader + 4, 0xAA64);
  EXPECT_EQ(machine(arm), "machine 0xAA64");
  EXPECT_EQ(machine("launcher double"), std::nullopt);
  EXPECT_EQ(machine(MakePeImage().substr(0, kPeHeader + 5)), std::nullopt);
}

TEST(PeVersion, DamagedImagesHaveNoVersion) {
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
    bool wide;
  } cases[] = {
      {"no MZ", 0, 0x5A4E, false},
      {"PE header beyond the file", 0x3C, 0xFFFFFFF0, true},
      {"bad PE signature", kPeHeader, 0x4551, true},
      {"unknown optional header", kPeHeader + 24, 0x107, false},
      {"too few data directories", kPeHeader + 24 + 92, 2, true},
      {"resource address in no section", kPeHeader + 24 + 96 + 16, 0x5000, true},
      {"section data beyond the file", kPeHeader + 24 + 224 + 20, 0x7FFFFFF0, true},
      {"huge entry count", kResource + 14, 0xFFFF, false},
      {"subdirectory offset beyond the section", kResource + 20, 0x8FFFFFF0, true},
      {"data entry where a directory belongs", kResource + 20, 0x18, true},
      {"version data larger than the section", kResource + 0x4C, 0x10000, true},
      {"wrong key", kVersionInfo + 6, 'X', false},
      {"no fixed part", kVersionInfo + 2, 0, false},
      {"bad signature", kVersionInfo + 40, 0xFEEF04BC, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string image = MakePeImage();
    c.wide ? Put32(image, c.at, c.value) : Put16(image, c.at, c.value);
    EXPECT_FALSE(Read(image));
  }
  // Every truncation ends before the fixed part is complete.
  std::string image = MakePeImage();
  for (size_t size : {size_t(0), size_t(1), size_t(0x3E), kPeHeader + 30, kResource, kVersionInfo + 60}) {
    SCOPED_TRACE(size);
    EXPECT_FALSE(Read(image.substr(0, size)));
  }
}

}  // namespace
}  // namespace ostravel::media
