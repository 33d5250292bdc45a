#pragma once
// The fixed regional formats of the programs: decimal ".", blank thousands
// separator, short date "yyyy.MM.dd", Hungarian month and day names. They never
// follow the user's settings, so every text below is the same on every machine.
#include <optional>
#include <string>

#include "base/datetime.h"

namespace ostravel {

extern const char* const kShortMonthNames[12];
extern const char* const kLongMonthNames[12];
extern const char* const kShortDayNames[7];  // Sunday first
extern const char* const kLongDayNames[7];   // Sunday first

// "%.2n": two decimals, blank as thousands separator, "." decimals ("1 234.50").
std::string FormatNumber2(double value);
// "%.0n"-style grouping of an integer ("1 048 576").
std::string FormatGrouped(long long value);
// "yyyy.MM.dd".
std::string FormatShortDate(const DateTime& dt);
// "yyyy MMMM dd, dddd".
std::string FormatLongDate(const DateTime& dt);
// "hh:mm:ss".
std::string FormatLongTime(const DateTime& dt);
// Date-time text: short date, blank, long time; the time is left out at midnight.
std::string FormatDateTimeText(const DateTime& dt);
// "yyyy.mm.dd hh:nn:ss", the diagnostic log's timestamp.
std::string FormatLogTimestamp(const DateTime& dt);
// Reads what FormatDateTimeText writes (date with "." separators, optional time
// with ":"); nullopt for anything else.
std::optional<DateTime> ParseDateTimeText(const std::string& text);

}  // namespace ostravel
