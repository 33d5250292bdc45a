#pragma once
// TInstallerMainForm: the wizard window. The program body shows it through
// ShowWizardModal (app_windows.h); the background window does the same.
namespace ostravel::win32 {

inline constexpr const wchar_t* kMainFormClass = L"TInstallerMainForm";

}  // namespace ostravel::win32
