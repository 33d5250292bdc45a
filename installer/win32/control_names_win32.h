#pragma once
// Every control carries its component name as the window property "OstravelName"
// (a global atom), so test tools and accessibility helpers can find it by name.
#include "base/win32/windows_clean.h"

#include <string>

namespace ostravel::win32 {

inline constexpr const wchar_t* kNameProperty = L"OstravelName";

void NameControl(HWND control, const char* name);
std::string ControlName(HWND control);
// Releases the name's atom; called when the control goes.
void ForgetControlName(HWND control);

}  // namespace ostravel::win32
