// installer.exe: process start, program body, process end.
#include "installer/platform/win32/windows_clean.h"

#include "base/installer_error.h"
#include "installer/app/program.h"
#include "installer/platform/win32/system_library.h"
#include "installer/platform/win32/wide.h"
#include "installer/platform/win32/win32_platform.h"
#include "installer/win32/app_windows.h"

namespace {

class Windows : public ostravel::ProgramWindows {
 public:
  Windows(ostravel::platform::Platform& platform, ostravel::ProcessState& state) : platform_(platform), state_(state) {}
  void ShowWizardModal() override { ostravel::win32::ShowWizardModal(platform_, state_); }
  void ShowBackgroundModal() override { ostravel::win32::ShowBackgroundModal(platform_, state_); }
  ostravel::ui::MessageDialogs& Dialogs() override { return ostravel::win32::AppMessageDialogs(); }

 private:
  ostravel::platform::Platform& platform_;
  ostravel::ProcessState& state_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything else can pull in a DLL from the program's folder.
  ostravel::win32::HardenDllSearch();

  ostravel::win32::Win32FileSystem files;
  ostravel::win32::Win32Registry registry;
  ostravel::win32::Win32System system;
  ostravel::win32::Win32Services services;
  ostravel::win32::Win32DesktopWindows desktop;
  ostravel::platform::Platform platform{files, registry, system, services, desktop};
  ostravel::ProcessState state;
  ostravel::InitProcessState(state, system);
  Windows windows(platform, state);
  try {
    ostravel::RunProgramBody(platform, state, windows);
    ostravel::EndProcess(files, state);
  } catch (const std::exception& e) {
    if (!state.silentMode)
      MessageBoxW(nullptr, ostravel::win32::Wide(e.what()).c_str(), L"Ostravel", MB_OK | MB_ICONERROR);
    return 1;
  }
  return state.exitCode;
}
