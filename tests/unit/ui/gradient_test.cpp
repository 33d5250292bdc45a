// The background gradient line by line, system colours, and the background settings.
#include <gtest/gtest.h>

#include "base/installer_error.h"
#include "installer/platform/fake/memory_file_system.h"
#include "installer/script/setup_script.h"
#include "installer/ui/gradient.h"
#include "installer/wizard/background_settings.h"

namespace ostravel::ui {
namespace {

constexpr Rgb kBlue = 0xFF0000;  // 16711680: the script's pure blue

TEST(Gradient, TwoColoursRunFromTheFirstLineToTheLast) {
  const auto lines = GradientLines(768, {0x000000, kBlue});
  ASSERT_EQ(lines.size(), 768u);
  EXPECT_EQ(lines.front().position, 0);
  EXPECT_EQ(lines.front().colour, 0x000000u);
  EXPECT_EQ(lines.back().position, 767);
  EXPECT_EQ(lines.back().colour, kBlue);
  // Truncated, not rounded: line 3 is 3 * 255 / 767 = 0.997 -> 0, line 4 is 1.33 -> 1.
  EXPECT_EQ(lines[3].colour, 0u);
  EXPECT_EQ(lines[4].colour, 0x010000u);
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_GE(lines[i].colour, lines[i - 1].colour);
}

TEST(Gradient, BandsRoundHalvesToEvenAndTheLastSegmentEndsOnTheLastLine) {
  // 5 lines over 2 segments: band 2.5 -> 2; segment 0 draws 0..2, the last 2..4.
  const auto lines = GradientLines(5, {0x000000, 0x0000FF, 0x000000});
  std::vector<int> positions;
  for (const auto& l : lines) positions.push_back(l.position);
  EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 2, 3, 4}));
  EXPECT_EQ(lines[2].colour, 0x0000FFu);  // segment 0 ends on the middle colour
  EXPECT_EQ(lines[4].colour, 0x00007Fu);  // 255 - 255 * 1/2 = 127.5 -> 127
  EXPECT_EQ(lines[5].colour, 0x000000u);
  // 7 over 2: band 3.5 -> 4.
  EXPECT_EQ(GradientLines(7, {0, 0xFF, 0}).size(), 5u + 3u);
}

TEST(Gradient, DegenerateExtentsAndTooFewColours) {
  EXPECT_TRUE(GradientLines(0, {0, kBlue}).empty());
  // One line: its own start colour, never a division by zero.
  const auto one = GradientLines(1, {0x123456, kBlue});
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].colour, 0x123456u);
  try {
    GradientLines(10, {kBlue});
    FAIL() << "one colour accepted";
  } catch (const InstallerError& e) {
    EXPECT_STREQ(e.what(), "Please specify at least two colors.");
  }
}

TEST(Gradient, SystemColoursAreResolved) {
  auto system = [](int index) { return Rgb(0xAB0000 + index); };
  EXPECT_EQ(ResolveColour(int32_t(0xFF00000F), system), 0xAB000Fu);  // clBtnFace-like
  EXPECT_EQ(ResolveColour(16711680, system), kBlue);
  EXPECT_EQ(ResolveColour(0x01FFFFFF, system), 0xFFFFFFu);
}

TEST(BackgroundSettings, KeysFallBackAsDocumented) {
  platform::MemoryFileSystem fs;
  fs.AddFile("C:\\setup.inf",
             "[Configuration]\r\nBackground=1\r\nGrad End=16711680\r\nOne Color=x\r\nBanner Alignment=7\r\n"
             "Copyright Alignment=2\r\nBannerFont=255;;Arial;14;1;0;0;0\r\nCopyrightText=(c) Belloro\r\n");
  const auto b = WithScript(fs, "C:\\setup.inf", [](const TExtIniFile& s) { return wizard::ReadBackgroundSettings(s); });
  EXPECT_TRUE(b.gradient);
  EXPECT_EQ(b.gradStart, 0);
  EXPECT_EQ(b.gradEnd, 16711680);
  EXPECT_EQ(b.oneColor, 0);
  EXPECT_EQ(b.topBanner, "");
  EXPECT_EQ(b.bannerAlignment, wizard::TextAlignment::Left);
  EXPECT_EQ(b.copyrightAlignment, wizard::TextAlignment::Right);
  EXPECT_EQ(b.bannerFont.color, 255);
  EXPECT_EQ(b.bannerFont.face, "Arial");
  EXPECT_EQ(b.bannerFont.size, 14);
  EXPECT_TRUE(b.bannerFont.bold);
  EXPECT_FALSE(b.bannerFont.italic);
  EXPECT_EQ(b.copyrightText, "(c) Belloro");
}

}  // namespace
}  // namespace ostravel::ui
