#pragma once
// Calendar values and the two numeric forms the system stores them in: the packed
// DOS date-time of the file system and the date-time number (days since 1899-12-30
// with the time of day as fraction).
#include <cstdint>
#include <optional>
#include <string>

namespace ostravel {

struct DateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  bool operator==(const DateTime&) const = default;
};

bool IsValidDate(int year, int month, int day);
int DaysInMonth(int year, int month);
// 0 = Sunday .. 6 = Saturday.
int DayOfWeek(const DateTime& dt);

// Date in the high 16 bits, time (2-second resolution) in the low 16 bits.
uint32_t PackDosDateTime(const DateTime& dt);
std::optional<DateTime> UnpackDosDateTime(uint32_t packed);

double ToDateTimeNumber(const DateTime& dt);
DateTime FromDateTimeNumber(double value);
// General float text with up to 15 significant digits and "." decimals.
std::string FormatGeneralFloat(double value);

}  // namespace ostravel
