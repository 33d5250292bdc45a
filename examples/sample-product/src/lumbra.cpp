// The demo product's program: one message box with the DLL's greeting. With
// "/quiet" it only checks that the DLL loads and ends with exit code 0.
#include <windows.h>

#include <cwchar>

extern "C" __declspec(dllimport) const wchar_t* LumbraGreeting();

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  if (commandLine && std::wcsstr(commandLine, L"/quiet")) return LumbraGreeting()[0] ? 0 : 1;
  MessageBoxW(nullptr, LumbraGreeting(), SAMPLE_TITLE, MB_OK | MB_ICONINFORMATION);
  return 0;
}
