#pragma once
// File times in the packed DOS form the medium and the archives keep: local date in
// the high word, local time (two-second steps) in the low word.
#include "base/win32/windows_clean.h"

#include <cstdint>
#include <optional>

namespace ostravel::win32 {

// Nullopt when the time has no DOS form (before 1980, say).
std::optional<uint32_t> DosTimeFromFileTime(const FILETIME& utc);
// The UTC file time of a DOS time; nullopt for an impossible date or time.
std::optional<FILETIME> FileTimeFromDosTime(uint32_t dosTime);

}  // namespace ostravel::win32
