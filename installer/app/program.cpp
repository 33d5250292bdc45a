#include "installer/app/program.h"

#include "base/installer_error.h"
#include "base/text.h"
#include "installer/script/command_line.h"
#include "installer/script/local_packages.h"
#include "installer/script/setup_script.h"

namespace ostravel {

void InitProcessState(ProcessState& state, platform::System& system) {
  state.windowsFolder = WithTrailing(system.WindowsFolder(), '\\');
  state.systemFolder = WithTrailing(system.SystemFolder(), '\\');
  state.tempFolder = WithTrailing(system.TempFolder(), '\\');
  state.programPath = system.ProgramPath();
  size_t slash = state.programPath.find_last_of('\\');
  state.sourceFolder = slash == std::string::npos ? "" : state.programPath.substr(0, slash + 1);
  state.scriptPath = state.sourceFolder + "setup.inf";
  state.debugInfoList.clear();
  state.parameters = system.Parameters();
  // The modes follow the switches from here on, before any window exists: a failure
  // this early must not wait for a person.
  state.switches = ReadSwitches(state.parameters);
  state.backgroundScriptPath =
      state.switches.devel ? state.sourceFolder + "setup.inf" : state.tempFolder + "setup.inf";
}

LaunchDecision DecideLaunch(platform::FileSystem& fs, const ProcessState& state, bool uninstallSwitch) {
  return WithScript(fs, state.scriptPath, [&](const TExtIniFile& ini) {
    LaunchDecision d;
    bool webUpdate = ini.ReadBool(section::kInstallTypePage, "WebUpdateEnabled", false);
    if (!webUpdate && !uninstallSwitch && !LocalPackagesPresent(ini, fs, state.sourceFolder)) d.launchAllowed = false;
    d.language = ini.ReadInteger(section::kConfiguration, "Language", 0);
    d.noPackagesFound = ini.ReadString(section::kErrorMessages, "NoPackagesFound", kDefaultNoPackagesFound);
    d.backgroundWanted = ini.ReadInteger(section::kConfiguration, "Background", -1) != -1;
    return d;
  });
}

void RunProgramBody(platform::Platform& platform, ProcessState& state, ProgramWindows& windows,
                    ui::MessageDialogs& dialogs) {
  const bool uninstall = state.UninstallMode();
  LaunchDecision d;
  try {
    d = DecideLaunch(platform.files, state, uninstall);
  } catch (const InstallerError& e) {
    // The script could not even be read back (say, a read-only medium that needs
    // normalising): say so rather than end without a word.
    dialogs.ShowMessage(e.what(), ui::MsgDlgType::Error, ui::mbOK, 0);
    return;
  }
  if (d.launchAllowed) {
    if (d.backgroundWanted) {
      windows.ShowBackgroundModal();
    } else {
      windows.ShowWizardModal();
    }
    return;
  }
  dialogs.ShowMessage(d.noPackagesFound, ui::MsgDlgType::Warning, ui::mbOK, d.language);
}

void EndProcess(platform::FileSystem& fs, const ProcessState& state) {
  if (!state.DebugInfoMode() || state.debugInfoList.empty()) return;
  const std::string path = state.sourceFolder + "debuginfo";
  if (!fs.ReplaceFile(path, JoinLines(state.debugInfoList)))
    throw InstallerError("Cannot create file \"" + path + "\". " + fs.LastErrorText());
}

}  // namespace ostravel
