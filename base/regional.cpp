#include "base/regional.h"

#include <cmath>
#include <cstdio>

#include "base/text.h"

namespace ostravel {

const char* const kShortMonthNames[12] = {"jan.", "febr.", "márc.", "ápr.", "máj.", "jún.",
                                          "júl.", "aug.", "szept.", "okt.", "nov.", "dec."};
const char* const kLongMonthNames[12] = {"Január", "Február", "Március", "Április", "Május", "Június",
                                         "Július", "Augusztus", "Szeptember", "Október", "November",
                                         "December"};
const char* const kShortDayNames[7] = {"Vas", "Hét", "Kedd", "Szer", "Csüt", "Pén", "Szom"};
// "Hétfô" is written with the circumflex o, as the system has always shown it.
const char* const kLongDayNames[7] = {"Vasárnap", "Hétfô", "Kedd", "Szerda", "Csütörtök", "Péntek", "Szombat"};

namespace {
std::string Group(const std::string& digits) {
  std::string out;
  int n = int(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out.push_back(' ');
    out.push_back(digits[size_t(i)]);
  }
  return out;
}
}  // namespace

std::string FormatNumber2(double value) {
  char buf[64];
  // Halves round away from zero, not to even.
  std::snprintf(buf, sizeof buf, "%.2f", std::round(std::fabs(value) * 100.0) / 100.0);
  std::string s = buf;
  size_t dot = s.find('.');
  std::string out = Group(s.substr(0, dot)) + s.substr(dot);
  bool negative = value < 0 && out.find_first_not_of("0. ") != std::string::npos;
  return negative ? "-" + out : out;
}

std::string FormatGrouped(long long value) {
  std::string digits = std::to_string(value < 0 ? -(unsigned long long)value : (unsigned long long)value);
  return (value < 0 ? "-" : "") + Group(digits);
}

std::string FormatShortDate(const DateTime& dt) {
  return Format("%04d.%02d.%02d", dt.year, dt.month, dt.day);
}

std::string FormatLongDate(const DateTime& dt) {
  return Format("%04d %s %02d, %s", dt.year, kLongMonthNames[(dt.month + 11) % 12], dt.day,
                kLongDayNames[DayOfWeek(dt)]);
}

std::string FormatLongTime(const DateTime& dt) {
  return Format("%02d:%02d:%02d", dt.hour, dt.minute, dt.second);
}

std::string FormatDateTimeText(const DateTime& dt) {
  std::string s = FormatShortDate(dt);
  if (dt.hour || dt.minute || dt.second || dt.millisecond) s += " " + FormatLongTime(dt);
  return s;
}

std::string FormatLogTimestamp(const DateTime& dt) {
  return FormatShortDate(dt) + " " + FormatLongTime(dt);
}

std::optional<DateTime> ParseDateTimeText(const std::string& input) {
  std::string text = Trim(input);
  DateTime dt;
  auto readNumber = [&](size_t& i, int& out, int maxDigits) {
    size_t start = i;
    int v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && int(i - start) < maxDigits)
      v = v * 10 + (text[i++] - '0');
    out = v;
    return i > start;
  };
  size_t i = 0;
  int y, m, d;
  if (!readNumber(i, y, 4) || i >= text.size() || text[i++] != '.') return std::nullopt;
  if (!readNumber(i, m, 2) || i >= text.size() || text[i++] != '.') return std::nullopt;
  if (!readNumber(i, d, 2)) return std::nullopt;
  if (i < text.size() && text[i] == '.') ++i;  // tolerated trailing date separator
  if (!IsValidDate(y, m, d)) return std::nullopt;
  dt.year = y;
  dt.month = m;
  dt.day = d;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return dt;
  int h, n, s = 0;
  if (!readNumber(i, h, 2) || i >= text.size() || text[i++] != ':') return std::nullopt;
  if (!readNumber(i, n, 2)) return std::nullopt;
  if (i < text.size() && text[i] == ':') {
    ++i;
    if (!readNumber(i, s, 2)) return std::nullopt;
  }
  if (i != text.size() || h > 23 || n > 59 || s > 59) return std::nullopt;
  dt.hour = h;
  dt.minute = n;
  dt.second = s;
  return dt;
}

}  // namespace ostravel
