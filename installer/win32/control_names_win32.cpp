#include "installer/win32/control_names_win32.h"

#include "base/win32/wide.h"

namespace ostravel::win32 {

void NameControl(HWND control, const char* name) {
  const ATOM atom = GlobalAddAtomW(Wide(name).c_str());
  if (atom) SetPropW(control, kNameProperty, reinterpret_cast<HANDLE>(uintptr_t(atom)));
}

std::string ControlName(HWND control) {
  const ATOM atom = ATOM(uintptr_t(GetPropW(control, kNameProperty)));
  if (!atom) return "";
  wchar_t buffer[256];
  const UINT n = GlobalGetAtomNameW(atom, buffer, 256);
  return Narrow(std::wstring(buffer, n));
}

void ForgetControlName(HWND control) {
  const ATOM atom = ATOM(uintptr_t(RemovePropW(control, kNameProperty)));
  if (atom) GlobalDeleteAtom(atom);
}

}  // namespace ostravel::win32
