#pragma once
// TInstallerMainForm: the wizard window. The program body shows it through
// ShowWizardModal (app_windows.h); the background window does the same.
#include "base/win32/shared_names.h"

namespace ostravel::win32 {

inline constexpr const wchar_t* kMainFormClass = names::kWizardClassWide.text;

}  // namespace ostravel::win32
