#pragma once
// TStringsLabel on the screen: a painted control showing tagged text. Its lines
// (with tags) are set with SetStringsLabelLines; its window text is the plain text.
#include "base/win32/windows_clean.h"

#include <string>

namespace ostravel::win32 {

inline constexpr const wchar_t* kStringsLabelClass = L"TStringsLabel";
// Posted to the parent when a label that sizes itself to its text changed height.
inline constexpr UINT kStringsLabelResized = WM_APP + 20;

void RegisterStringsLabelClass();
// CP1250 markup.
void SetStringsLabelLines(HWND label, const std::string& lines);
std::string StringsLabelLines(HWND label);
void SetStringsLabelAutoHeight(HWND label, bool autoHeight);

}  // namespace ostravel::win32
