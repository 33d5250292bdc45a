#include "base/win32/command_line.h"

#include "base/win32/windows_clean.h"

#include "base/text.h"
#include "base/win32/wide.h"

namespace ostravel::win32 {

// Not CommandLineToArgvW: its rules read the backslash before a closing quote as
// an escape, and the launcher's /l"<folder>\" would swallow every later switch.
std::vector<std::string> CommandLineParameters() {
  std::vector<std::string> params = SplitCommandLine(Narrow(GetCommandLineW()));
  if (!params.empty()) params.erase(params.begin());
  return params;
}

}  // namespace ostravel::win32
