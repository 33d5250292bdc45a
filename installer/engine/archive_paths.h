#pragma once
// Where an archive member goes and whether it is written: pure functions of the
// stored name and time, the destination and the restore settings, so the policy can
// be read (and tested) apart from the reading of archives.
#include <cstdint>
#include <optional>
#include <string>

namespace ostravel::engine {

enum TRestoreMode { rmAll, rmNoOverwrite, rmNewer, rmExisting, rmExistingNewer };

// The target of a member: without a destination the stored name itself; with one
// (ending in "\"), the destination and the stored name's file-name part, or with
// `restoreFullPath` the stored name from its fourth character on (the drive letter,
// colon and first "\" dropped). A full path that would climb out of the destination
// ("..", a second drive, a rooted path) gives the destination itself, which cannot
// be created as a file.
std::string MemberTargetPath(const std::string& destination, bool restoreFullPath, const std::string& storedName);

// Whether `relative` would leave the folder it is put below.
bool EscapesFolder(const std::string& relative);

// The folder a member's target needs, with its final separator ("C:\a\b.txt" ->
// "C:\a\", "C:b.txt" -> "C:"); empty when there is none. "/" separates too.
std::string MemberFolder(const std::string& target);

// The restore mode's decision for a member stored with `stored`, given the target's
// last-write time when it exists as a file; times compare as signed 32-bit numbers.
bool RestoreDecision(TRestoreMode mode, std::optional<int32_t> existingTime, int32_t stored);

}  // namespace ostravel::engine
