#pragma once
// A vertical scroll box around one child window that may grow taller than the box.
#include "base/win32/windows_clean.h"

namespace ostravel::win32 {

void RegisterScrollBoxClass();
// Puts `content` into a new scroll box where it stood; the content keeps its name
// and its place in the tab order. The box scrolls when the content grows.
HWND WrapInScrollBox(HWND content);

}  // namespace ostravel::win32
