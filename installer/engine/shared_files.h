#pragma once
// Files of the system folder follow the system's convention for shared files: a
// use count per path under SharedDLLs. An installation counts each file it writes
// there once (a file that was there before without a count starts at one, for its
// unknown owner); an uninstall counts each recorded one down, and a file it
// created goes only when nobody counts it any more.
#include <set>
#include <string>
#include <vector>

#include "installer/engine/install_record.h"
#include "installer/engine/run_context.h"

namespace ostravel::engine {

inline constexpr const char* kSharedDllsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The path lies in the system folder ($SystemFolder$) or below it.
bool InSystemFolder(const PathVariables& variables, const std::string& path);

// The installation wrote `path`; `existedBefore` when it was there already.
void CountSharedFile(RunContext& context, const std::string& path, bool existedBefore);

// Counts down every file and replaced file of the system folder among `actions`,
// once per line, and gives the upper-cased paths others still count: they stay.
// A path without a count (recorded before counting began) is left to the caller.
std::set<std::string> ReleaseSharedFiles(RunContext& context, const std::vector<UninstallAction>& actions);

}  // namespace ostravel::engine
