#include <windows.h>

#include "installer/platform/win32/system_library.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ostravel::win32::HardenDllSearch();
  return 0;
}
