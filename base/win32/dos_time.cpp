#include "base/win32/dos_time.h"

namespace ostravel::win32 {

std::optional<uint32_t> DosTimeFromFileTime(const FILETIME& utc) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return std::nullopt;
  return uint32_t(date) << 16 | time;
}

std::optional<FILETIME> FileTimeFromDosTime(uint32_t dosTime) {
  FILETIME local, utc;
  if (!DosDateTimeToFileTime(WORD(dosTime >> 16), WORD(dosTime & 0xFFFF), &local) ||
      !LocalFileTimeToFileTime(&local, &utc))
    return std::nullopt;
  return utc;
}

}  // namespace ostravel::win32
