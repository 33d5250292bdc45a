#pragma once
// The installer's process: start-up state, the launch decision and process end.
// The windows themselves are reached through ProgramWindows.
#include <string>

#include "installer/platform/platform.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/process_state.h"
#include "installer/ui/message_dialog.h"

namespace ostravel {

class ProgramWindows {
 public:
  virtual ~ProgramWindows() = default;
  // Create TInstallerMainForm, show it modally, free it.
  virtual void ShowWizardModal() = 0;
  // Create TInstallerBackForm (which shows the wizard itself), show it modally, free it.
  virtual void ShowBackgroundModal() = 0;
};

// Process start: folders, script paths and debug list, before the program body.
void InitProcessState(ProcessState& state, platform::System& system);

struct LaunchDecision {
  bool launchAllowed = true;
  int language = 0;
  std::string noPackagesFound;
  bool backgroundWanted = false;
};
// Reads the script at state.scriptPath with a fresh reader (written back on release).
LaunchDecision DecideLaunch(platform::FileSystem& fs, const ProcessState& state, bool uninstallSwitch);

// The program body: launch decision, then the wizard (directly or behind the
// background window) or the message that no packages were found, in `dialogs`
// (which answer for an unattended run).
void RunProgramBody(platform::Platform& platform, ProcessState& state, ProgramWindows& windows,
                    ui::MessageDialogs& dialogs);

// Process end: the debug-information file when "/debuginfo" collected anything.
void EndProcess(platform::FileSystem& fs, const ProcessState& state);

}  // namespace ostravel
