#pragma once
// The launcher's own reader of the setup script: only what it needs from [StartUp],
// deliberately simpler than the installer's INI reader (exact section header,
// untrimmed values, the last matching line wins).
#include <string>
#include <string_view>

namespace ostravel::startup {

// `script` is the whole file; a missing file reads as "" and gives the fallback.
std::string ReadStartUpKey(std::string_view script, std::string_view section, std::string_view key,
                           std::string_view fallback);

// True when the script holds a line exactly equal to "[Configuration]".
bool IsPlainScript(std::string_view script);

}  // namespace ostravel::startup
