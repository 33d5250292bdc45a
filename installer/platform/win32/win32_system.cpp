#include "base/win32/windows_clean.h"

#include <cstring>
#include <vector>

#include "base/text.h"
#include "base/win32/command_line.h"
#include "base/win32/system_library.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/file_names.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {
namespace {

constexpr DWORD kMaxVersionInfoBytes = 1u << 20;

template <typename Fn>
std::string GrowingPath(Fn query) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD n = query(buffer.data(), DWORD(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) return Narrow(std::wstring(buffer.data(), n));
    buffer.resize(n > buffer.size() ? n + 1 : buffer.size() * 2);
  }
  return "";
}

}  // namespace

std::string Win32System::WindowsFolder() {
  return WithTrailing(GrowingPath([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); }), '\\');
}

std::string Win32System::SystemFolder() {
  return WithTrailing(GrowingPath([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); }), '\\');
}

std::string Win32System::TempFolder() {
  return WithTrailing(GrowingPath([](wchar_t* b, DWORD n) { return GetTempPathW(n, b); }), '\\');
}

std::string Win32System::ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size() - 1) return Narrow(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
  return "";
}

std::vector<std::string> Win32System::Parameters() { return CommandLineParameters(); }

DateTime Win32System::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return DateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

uint32_t Win32System::TickCount() { return GetTickCount(); }

platform::VersionRecord Win32System::ReadVersion(const std::string& path) {
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  auto getSize = SystemProc<SizeFn>(L"version.dll", "GetFileVersionInfoSizeW");
  auto getInfo = SystemProc<InfoFn>(L"version.dll", "GetFileVersionInfoW");
  auto query = SystemProc<QueryFn>(L"version.dll", "VerQueryValueW");
  platform::VersionRecord v;
  if (!getSize || !getInfo || !query) return v;
  std::wstring wpath = FileName(path);
  DWORD handle = 0;
  DWORD size = getSize(wpath.c_str(), &handle);
  // A version resource is at most 64 KiB (its length is a 16-bit field); the size
  // the system reports is a small multiple of that. Anything larger is damage.
  if (size == 0 || size > kMaxVersionInfoBytes) return v;
  std::vector<char> data(size_t(size) + 1);
  if (!getInfo(wpath.c_str(), 0, size, data.data())) return v;
  // The root block starts with its own length; one that claims more than the
  // resource holds is damaged.
  WORD declared = 0;
  std::memcpy(&declared, data.data(), sizeof declared);
  if (declared > size) return v;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!query(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info || len < sizeof *info) return v;
  // The block must lie inside what was read, whatever lengths the resource claims.
  const char* begin = data.data();
  const char* at = reinterpret_cast<const char*>(info);
  if (at < begin || at + sizeof *info > begin + size) return v;
  v.valid = true;
  v.productMajor = HIWORD(info->dwProductVersionMS);
  v.productMinor = LOWORD(info->dwProductVersionMS);
  v.productRelease = HIWORD(info->dwProductVersionLS);
  v.productBuild = LOWORD(info->dwProductVersionLS);
  v.fileMajor = HIWORD(info->dwFileVersionMS);
  v.fileMinor = LOWORD(info->dwFileVersionMS);
  v.fileRelease = HIWORD(info->dwFileVersionLS);
  v.fileBuild = LOWORD(info->dwFileVersionLS);
  return v;
}

bool Win32System::IsWow64() {
#ifdef _WIN64
  // A 64-bit program runs on 64-bit Windows only; the answer is the one the i686
  // build gets there, so both take the same roads.
  return true;
#else
  using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto isWow64 = reinterpret_cast<IsWow64Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow) && wow;
#endif
}

platform::WindowsVersion Win32System::GetWindowsVersion() {
  // GetVersionEx answers what the manifest admits to; RtlGetVersion the truth.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) {
    info = OSVERSIONINFOW{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
  }
  return {info.dwPlatformId == VER_PLATFORM_WIN32_NT, info.dwMajorVersion, info.dwMinorVersion};
}

int Win32System::RunAndWait(const std::string& program, const std::string& parameters,
                            const std::string& workingFolder) {
  std::wstring commandLine = Wide(Trim(program + " " + parameters));
  const std::wstring folder = Wide(workingFolder);
  STARTUPINFOW si;
  GetStartupInfoW(&si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return kRunFailed;
  const UniqueProcessHandles started(pi);
  HANDLE process = started.process.get();
  WaitForInputIdle(process, 10000);
  DWORD code = STILL_ACTIVE;
  for (;;) {
    ProcessMessages();
    if (!GetExitCodeProcess(process, &code)) return kRunFailed;
    if (code != STILL_ACTIVE) break;
    // Sleep until the program ends or a message arrives, instead of spinning.
    MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT);
  }
  return int(code);
}

bool Win32System::Start(const std::string& commandLine) {
  std::wstring cmd = Wide(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi))
    return false;
  const UniqueProcessHandles started(pi);  // not waited for
  return true;
}

void Win32System::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Win32System::Pause(uint32_t milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    ProcessMessages();
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) return;
    // Wakes for a message, else sleeps out the rest.
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT) != WAIT_OBJECT_0) Sleep(0);
  }
}

uint16_t Win32System::FindAtom(const std::string& name) { return GlobalFindAtomW(Wide(name).c_str()); }
uint16_t Win32System::AddAtom(const std::string& name) { return GlobalAddAtomW(Wide(name).c_str()); }
void Win32System::DeleteAtom(uint16_t atom) { GlobalDeleteAtom(atom); }

bool Win32System::WindowOfClassExists(const std::string& className) {
  return FindWindowW(Wide(className).c_str(), nullptr) != nullptr;
}

}  // namespace ostravel::win32
