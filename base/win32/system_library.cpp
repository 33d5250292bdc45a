#include "base/win32/system_library.h"

#include <string>

namespace ostravel::win32 {

void HardenDllSearch() {
  // kernel32 is always mapped from the system; SetDefaultDllDirectories exists from
  // Windows 7 with KB2533623 on. Without it, at least drop the current folder.
  using SetDefaultFn = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefaultFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

HMODULE SystemModule(const wchar_t* dllName) {
  if (HMODULE loaded = GetModuleHandleW(dllName)) return loaded;
  HMODULE module = LoadLibraryExW(dllName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // Systems without the search flags: build the full system path ourselves.
  wchar_t folder[MAX_PATH + 1];
  UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return nullptr;
  std::wstring path(folder, n);
  path += L"\\";
  path += dllName;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace ostravel::win32
