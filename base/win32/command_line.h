#pragma once
// The program's own command line, split and unquoted (SplitCommandLine).
#include <string>
#include <vector>

namespace ostravel::win32 {

// The parameters after the program name, CP1250.
std::vector<std::string> CommandLineParameters();

}  // namespace ostravel::win32
