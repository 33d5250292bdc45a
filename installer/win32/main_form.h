#pragma once
// TInstallerMainForm: the wizard window. The program body shows it through
// ShowWizardModal (app_windows.h); the background window does the same.
#include "base/win32/shared_names.h"
#include "installer/app/process_state.h"
#include "installer/platform/platform.h"

namespace ostravel::win32 {

inline constexpr const wchar_t* kMainFormClass = names::kWizardClassWide.text;

// Creates the wizard window, shows it modally over the active window and frees it.
void ShowInstallerMainForm(platform::Platform& platform, ProcessState& state);

}  // namespace ostravel::win32
