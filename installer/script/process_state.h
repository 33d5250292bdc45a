#pragma once
// Process-wide state, fixed at start-up before any window exists, plus the flags the
// program body and window creation set. Passed by reference to whoever needs it.
#include <string>
#include <vector>

#include "installer/script/command_line.h"

namespace ostravel {

struct ProcessState {
  // Folders, each with a trailing "\".
  std::string sourceFolder;  // folder of the running installer program
  std::string windowsFolder, systemFolder, tempFolder;
  std::string programPath;  // the installer's own program file

  std::string scriptPath;            // sourceFolder + "setup.inf"; switched by uninstall start-up and web update
  std::string backgroundScriptPath;  // temp + "setup.inf", or sourceFolder's with "/devel"

  // The command line, read once at process start; the modes are its switches.
  std::vector<std::string> parameters;
  Switches switches;

  bool DebugInfoMode() const { return switches.debugInfo; }
  bool UninstallMode() const { return switches.uninstall; }
  bool SilentMode() const { return switches.silent; }
  bool AdminMode() const { return switches.admin; }

  std::vector<std::string> debugInfoList;

  int dialogLanguage = 0;
  std::string updateSiteUrl;
  bool uninstallEnabled = true;
  std::string installRecordPath;

  int exitCode = 0;
};

}  // namespace ostravel
