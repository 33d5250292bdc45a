#include "base/datetime.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace ostravel {
namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Days since 0001-01-01 (proleptic Gregorian), day 0 = 0001-01-01.
int64_t DayNumber(int y, int m, int d) {
  int64_t yy = y - 1;
  int64_t days = yy * 365 + yy / 4 - yy / 100 + yy / 400;
  for (int i = 1; i < m; ++i) days += DaysInMonth(y, i);
  return days + d - 1;
}

const int64_t kEpoch = DayNumber(1899, 12, 30);

}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

int DayOfWeek(const DateTime& dt) {
  // 0001-01-01 was a Monday.
  return int((DayNumber(dt.year, dt.month, dt.day) + 1) % 7);
}

uint32_t PackDosDateTime(const DateTime& dt) {
  uint32_t date = uint32_t(((dt.year - 1980) & 0x7F) << 9 | (dt.month & 0x0F) << 5 | (dt.day & 0x1F));
  uint32_t time = uint32_t((dt.hour & 0x1F) << 11 | (dt.minute & 0x3F) << 5 | ((dt.second / 2) & 0x1F));
  return date << 16 | time;
}

std::optional<DateTime> UnpackDosDateTime(uint32_t packed) {
  uint32_t date = packed >> 16, time = packed & 0xFFFF;
  DateTime dt;
  dt.year = int(date >> 9) + 1980;
  dt.month = int((date >> 5) & 0x0F);
  dt.day = int(date & 0x1F);
  dt.hour = int(time >> 11);
  dt.minute = int((time >> 5) & 0x3F);
  dt.second = int(time & 0x1F) * 2;
  if (!IsValidDate(dt.year, dt.month, dt.day) || dt.hour > 23 || dt.minute > 59 || dt.second > 59)
    return std::nullopt;
  return dt;
}

double ToDateTimeNumber(const DateTime& dt) {
  double days = double(DayNumber(dt.year, dt.month, dt.day) - kEpoch);
  double frac = (dt.hour * 3600000.0 + dt.minute * 60000.0 + dt.second * 1000.0 + dt.millisecond) / 86400000.0;
  // Before the origin the fraction counts away from zero, as the system's number does.
  return days < 0 ? days - frac : days + frac;
}

DateTime FromDateTimeNumber(double value) {
  double whole = std::trunc(value);
  double frac = std::fabs(value - whole);
  int64_t ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  int64_t day = int64_t(whole) + kEpoch;
  // Day number back to a calendar date.
  DateTime dt;
  int y = int(day / 366) + 1;
  while (DayNumber(y + 1, 1, 1) <= day) ++y;
  while (y > 1 && DayNumber(y, 1, 1) > day) --y;
  int64_t rest = day - DayNumber(y, 1, 1);
  int m = 1;
  while (m < 12 && rest >= DaysInMonth(y, m)) rest -= DaysInMonth(y, m++);
  dt.year = y;
  dt.month = m;
  dt.day = int(rest) + 1;
  dt.hour = int(ms / 3600000);
  dt.minute = int(ms / 60000 % 60);
  dt.second = int(ms / 1000 % 60);
  dt.millisecond = int(ms % 1000);
  return dt;
}

std::string FormatGeneralFloat(double value) {
  if (value == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string s = buf;
  size_t e = s.find('e');
  if (e == std::string::npos) return s;
  // 1.5e-05 -> 1.5E-5, the system's exponent form.
  std::string mant = s.substr(0, e);
  std::string exp = s.substr(e + 1);
  std::string sign;
  if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
    if (exp[0] == '-') sign = "-";
    exp.erase(0, 1);
  }
  while (exp.size() > 1 && exp[0] == '0') exp.erase(0, 1);
  return mant + "E" + sign + exp;
}

}  // namespace ostravel
