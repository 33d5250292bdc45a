#include <gtest/gtest.h>

#include "base/datetime.h"
#include "base/regional.h"

namespace ostravel {
namespace {

TEST(DosDateTime, PacksAndUnpacksWithTwoSecondResolution) {
  DateTime dt{2026, 3, 7, 14, 5, 9, 0};
  uint32_t packed = PackDosDateTime(dt);
  EXPECT_EQ(packed >> 16, uint32_t((2026 - 1980) << 9 | 3 << 5 | 7));
  EXPECT_EQ(packed & 0xFFFF, uint32_t(14 << 11 | 5 << 5 | 4));
  auto back = UnpackDosDateTime(packed);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, (DateTime{2026, 3, 7, 14, 5, 8, 0}));
  EXPECT_FALSE(UnpackDosDateTime(0));             // month 0
  EXPECT_FALSE(UnpackDosDateTime(0x00210000 | (24u << 11)));  // hour 24
}

TEST(DateTimeNumber, CountsDaysFromTheOrigin) {
  EXPECT_EQ(ToDateTimeNumber(DateTime{1899, 12, 30}), 0.0);
  EXPECT_EQ(ToDateTimeNumber(DateTime{1900, 1, 1}), 2.0);
  EXPECT_EQ(ToDateTimeNumber(DateTime{2026, 3, 7, 12, 0, 0, 0}), 46088.5);
  EXPECT_EQ(ToDateTimeNumber(DateTime{1899, 12, 29, 6, 0, 0, 0}), -1.25);
  for (double v : {0.0, 46088.5, 46088.999988426, 36526.25, -1.25, 2.0}) {
    SCOPED_TRACE(v);
    EXPECT_NEAR(ToDateTimeNumber(FromDateTimeNumber(v)), v, 1e-8);
  }
  EXPECT_EQ(FromDateTimeNumber(46088.5), (DateTime{2026, 3, 7, 12, 0, 0, 0}));
  EXPECT_EQ(FromDateTimeNumber(60675.0).year, 2066);  // 2066-02-12
}

TEST(DateTimeNumber, GeneralFloatText) {
  EXPECT_EQ(FormatGeneralFloat(0), "0");
  EXPECT_EQ(FormatGeneralFloat(46088.5), "46088.5");
  EXPECT_EQ(FormatGeneralFloat(46088.58703703703), "46088.587037037");
  EXPECT_EQ(FormatGeneralFloat(2), "2");
  EXPECT_EQ(FormatGeneralFloat(0.000015), "1.5E-5");
}

TEST(RegionalFormats, NumbersUseBlankGroupingAndPointDecimals) {
  EXPECT_EQ(FormatNumber2(1234.5), "1 234.50");
  EXPECT_EQ(FormatNumber2(0), "0.00");
  EXPECT_EQ(FormatNumber2(999.999), "1 000.00");
  EXPECT_EQ(FormatNumber2(-1234567.125), "-1 234 567.13");
  EXPECT_EQ(FormatGrouped(1048576), "1 048 576");
  EXPECT_EQ(FormatGrouped(-12), "-12");
}

TEST(RegionalFormats, DatesAndTimestamps) {
  DateTime dt{2026, 3, 7, 14, 5, 9, 0};
  EXPECT_EQ(FormatLogTimestamp(dt), "2026.03.07 14:05:09");
  EXPECT_EQ(FormatShortDate(dt), "2026.03.07");
  EXPECT_EQ(FormatLongDate(dt), "2026 Március 07, Szombat");
  EXPECT_EQ(FormatLongDate(DateTime{2026, 3, 8}), "2026 Március 08, Vasárnap");
  EXPECT_EQ(FormatLongDate(DateTime{2026, 3, 9}), "2026 Március 09, Hétfô");
  EXPECT_EQ(FormatDateTimeText(dt), "2026.03.07 14:05:09");
  EXPECT_EQ(FormatDateTimeText(DateTime{2026, 3, 7}), "2026.03.07");
  EXPECT_EQ(FormatDateTimeText(DateTime{}), "1899.12.30");
}

TEST(RegionalFormats, ParsesWhatItWrites) {
  for (DateTime dt : {DateTime{2026, 3, 7, 14, 5, 9, 0}, DateTime{2026, 3, 7}, DateTime{}}) {
    auto back = ParseDateTimeText(FormatDateTimeText(dt));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, dt);
  }
  EXPECT_EQ(ParseDateTimeText("2026.3.7 4:05"), (DateTime{2026, 3, 7, 4, 5, 0, 0}));
  for (const char* bad : {"", "yesterday", "2026.02.30", "2026.03.07 25:00:00", "2026-03-07", "2026.03.07 x"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseDateTimeText(bad));
  }
}

}  // namespace
}  // namespace ostravel
