// installer.exe: process start, program body, process end. The one place that puts
// the machine, the windows and the application together.
#include "base/win32/windows_clean.h"

#include "base/installer_error.h"
#include "installer/app/application.h"
#include "base/win32/system_library.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/win32_http.h"
#include "installer/platform/win32/win32_platform.h"
#include "installer/win32/app_windows.h"

namespace {

class Windows : public ostravel::ProgramWindows {
 public:
  explicit Windows(ostravel::Application& app) : app_(app) {}
  void ShowWizardModal() override { ostravel::win32::ShowWizardModal(app_); }
  void ShowBackgroundModal() override { ostravel::win32::ShowBackgroundModal(app_, app_.ReadBackground()); }

 private:
  ostravel::Application& app_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything else can pull in a DLL from the program's folder.
  ostravel::win32::HardenDllSearch();

  ostravel::win32::Win32FileSystem files;
  ostravel::win32::Win32Registry registry;
  ostravel::win32::Win32System system;
  ostravel::win32::Win32Shell shell;
  ostravel::win32::Win32Fonts fonts;
  ostravel::win32::Win32HttpClient http;
  ostravel::win32::Win32Services services;
  ostravel::win32::Win32DesktopWindows desktop;
  ostravel::platform::Platform platform{files, registry, system, shell, fonts, http, services, desktop};
  ostravel::ProcessState state;
  ostravel::InitProcessState(state, system);
  try {
    ostravel::Application app(platform, state, ostravel::win32::AppMessageDialogs());
    Windows windows(app);
    app.Run(windows);
  } catch (const std::exception& e) {
    if (!state.SilentMode())
      MessageBoxW(nullptr, ostravel::win32::Wide(e.what()).c_str(), L"Ostravel", MB_OK | MB_ICONERROR);
    return 1;
  }
  return state.exitCode;
}
