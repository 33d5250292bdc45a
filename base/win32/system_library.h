#pragma once
// System DLLs outside the KnownDLLs list are loaded from the system folder only, on
// first use: a planted version.dll beside the program (say, in Downloads) must never
// load. Never import such a DLL statically.
#include "base/win32/windows_clean.h"

namespace ostravel::win32 {

// Restricts the process's DLL search to the system folder. First thing in main.
void HardenDllSearch();

// Handle of a system DLL loaded from the system folder, or nullptr.
HMODULE SystemModule(const wchar_t* dllName);

// Entry point of a system DLL as the given function type, or nullptr.
template <typename Fn>
Fn SystemProc(const wchar_t* dllName, const char* procName) {
  HMODULE module = SystemModule(dllName);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, procName))) : nullptr;
}

}  // namespace ostravel::win32
