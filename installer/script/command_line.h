#pragma once
// Command-line switches: letters compare without regard to case. Parameters are
// numbered 1..count; the program itself is not among them.
#include <string>
#include <vector>

namespace ostravel {

// True when some parameter equals the text.
bool ParamExists(const std::vector<std::string>& params, const std::string& text);
// 1-based position of the first parameter that begins with the text; 0 when none.
int ParamIndexOf(const std::vector<std::string>& params, const std::string& text);

// The switches of the installer as the program reads them.
struct Switches {
  bool uninstall = false;  // "/u", "-u"
  bool silent = false;     // "/silent", "-silent"
  bool admin = false;      // "/a", "-a"
  bool debugInfo = false;  // "/debuginfo"
  bool devel = false;      // "/devel"
  bool noIcon = false;     // "/noicon", "-noicon" (silent mode only)
  std::string year;        // "/y" + year or "-y" + year (silent mode only): 4 characters
  char driveLetter = 0;    // "/d" + letter or "-d" + letter (silent mode only), upper case
  // "/log" or "/log=path" (quotes around the path allowed): the steps of the run,
  // timed and counted, in the diagnostic log, which then lives at the path if given.
  bool log = false;
  std::string logPath;
};
Switches ReadSwitches(const std::vector<std::string>& params);

// True for "/log" and "/log=..." (any case): never the record's "/l" parameter.
bool IsLogSwitch(const std::string& param);

// Uninstall mode: the first "/l" parameter whose text from the third character on
// names an existing file; if none does, that text of the last parameter. The
// "/log" switch is not among the parameters looked at.
template <typename FileExistsFn>
std::string FindInstallRecordParameter(const std::vector<std::string>& params, FileExistsFn fileExists);

}  // namespace ostravel

#include "installer/script/command_line_inl.h"
