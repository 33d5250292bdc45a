#pragma once
// The launcher's small decisions, free of the machine: free-space rule, progress
// range, switches and the installer's command line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostravel::startup {

// One buffer of the copy loop and one progress step.
inline constexpr uint32_t kCopyBufferSize = 8096;

// `SpaceMinMB`: a leading "-" and the decimal digits up to the first other
// character; no digits give 0. Saturates instead of wrapping.
int64_t ParseSpaceMinMB(std::string_view text);

// In bytes, 64 bits: a negative setting asks for nothing, a huge one saturates.
int64_t MinimumFreeBytes(int64_t spaceMinMB);

// Refused only when the check is enabled by exactly "1".
bool SpaceRefused(std::string_view spaceCheckEnabled, uint64_t freeBytes, int64_t minimumFreeBytes);

// Progress bar maximum: copy total / 8096 rounded to the nearest (ties to even),
// capped to what a 32-bit progress range holds.
int32_t ProgressRange(uint64_t copyTotal);

// A whole parameter equal to the switch, without regard to ASCII case.
bool HasSwitch(const std::vector<std::string>& params, std::string_view name);

// installer path, " /l", '"' + launcher folder + '"', then " " + each parameter as
// given (its quotes are gone). The program path is quoted only when it holds a
// blank, so that the installer's parameters do not shift.
std::string BuildInstallerCommandLine(std::string_view installerPath, std::string_view launcherFolder,
                                      const std::vector<std::string>& params);

// Folder of a program path: up to and including the last "\" or ":".
std::string FolderOfPath(std::string_view path);

}  // namespace ostravel::startup
