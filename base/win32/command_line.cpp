#include "base/win32/command_line.h"

#include "base/win32/windows_clean.h"
#include <shellapi.h>

#include "base/win32/wide.h"

namespace ostravel::win32 {

std::vector<std::string> CommandLineParameters() {
  std::vector<std::string> params;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return params;
  for (int i = 1; i < count; ++i) params.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return params;
}

}  // namespace ostravel::win32
