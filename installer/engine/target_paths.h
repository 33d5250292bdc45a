#pragma once
// Paths of installed things as the engine handles them: normalised so that what is
// recorded for the uninstaller names the file that was really written, and tested
// before anything is written there.
#include <string>

namespace ostravel::engine {

// "/" becomes "\", runs of "\" become one (a leading "\\" of a network path
// stays), "." segments go and ".." removes the segment before it, never climbing
// above the drive or share. Other texts are returned as they are.
std::string NormalizeTargetPath(const std::string& path);

// Longest path the system's plain file functions take.
inline constexpr size_t kMaxTargetPath = 259;

// An absolute path ("X:\..." or "\\server\share\...") naming a file below its root,
// no longer than kMaxTargetPath, without control characters, wildcards or other
// characters Windows refuses in names. What a script gives after expansion is
// checked with this before the engine writes, runs or records anything there.
bool IsUsableTargetPath(const std::string& path);

// The folder part without the final "\" ("" when there is none).
std::string FolderOf(const std::string& path);
// The text after the last "\".
std::string FileNameOf(const std::string& path);
// From the last "." of the file name on, "" when it has none.
std::string ExtensionOf(const std::string& path);

}  // namespace ostravel::engine
