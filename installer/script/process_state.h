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

  // The command line, read once at process start; the mode flags below follow it.
  std::vector<std::string> parameters;
  Switches switches;

  bool debugInfoMode = false;
  std::vector<std::string> debugInfoList;

  bool uninstallMode = false;
  bool silentMode = false;
  bool adminMode = false;
  int dialogLanguage = 0;
  std::string updateSiteUrl;
  bool uninstallEnabled = true;
  std::string installRecordPath;

  int exitCode = 0;
};

}  // namespace ostravel
