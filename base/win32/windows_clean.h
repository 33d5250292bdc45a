#pragma once
// <windows.h> without the A/W macros that collide with our own method names
// (DeleteFile, CopyFile, ...). Win32 code calls the W functions by full name.
#include <windows.h>

#include "base/win32/undef_macros.h"
