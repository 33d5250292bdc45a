#include <algorithm>
#include <vector>

#include "base/text.h"
#include "base/win32/dos_time.h"
#include "base/win32/unique_handle.h"
#include "startup/win32_launcher.h"

namespace ostravel::startup::win32 {

namespace {

// Calls `get(buffer, size)` until the buffer holds the whole answer.
template <typename Get>
std::wstring GrowingString(Get get) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 8; ++attempt) {
    const DWORD n = get(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(std::max<size_t>(n + 1, buffer.size() * 2));
  }
  return std::wstring();
}

using ostravel::win32::UniqueFile;
using ostravel::win32::UniqueFind;

}  // namespace

std::string ProgramPath() {
  // GetModuleFileNameW returns the buffer size, not the length, when it truncates.
  return Narrow(GrowingString([](wchar_t* b, DWORD n) {
    const DWORD got = GetModuleFileNameW(nullptr, b, n);
    return got >= n ? n : got;
  }));
}

std::string TempFolder() {
  return WithTrailing(Narrow(GrowingString([](wchar_t* b, DWORD n) { return GetTempPathW(n, b); })), '\\');
}

std::string WindowsFolder() {
  return Narrow(GrowingString([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); }));
}

bool FolderExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateOneFolder(const std::string& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }

std::optional<std::string> ReadWholeFile(const std::string& path) {
  UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string data;
  char buffer[16384];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
  return data;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
  UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

void SetAttributes(const std::string& path, DWORD attributes) {
  SetFileAttributesW(Wide(path).c_str(), attributes);
}

void DeleteFileAt(const std::string& path) { DeleteFileW(Wide(path).c_str()); }

std::optional<uint32_t> DosTimeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return ostravel::win32::DosTimeFromFileTime(data.ftLastWriteTime);
}

void SetDosTime(const std::string& path, uint32_t dosTime) {
  const std::optional<FILETIME> utc = ostravel::win32::FileTimeFromDosTime(dosTime);
  if (!utc) return;
  UniqueFile file(CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) SetFileTime(file.get(), nullptr, nullptr, &*utc);
}

uint64_t FolderTotal(const std::string& folder) {
  uint64_t total = 0;
  WIN32_FIND_DATAW found;
  UniqueFind find(FindFirstFileW(Wide(folder + "*.*").c_str(), &found));
  if (!find) return 0;
  do {
    total += (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  } while (FindNextFileW(find.get(), &found));
  return total;
}

std::optional<uint64_t> FreeBytesOf(const std::string& folder) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (GetDiskFreeSpaceW(Wide(folder.substr(0, 3)).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                        &clusters)) {
    return static_cast<uint64_t>(freeClusters) * sectorsPerCluster * bytesPerSector;
  }
  // A UNC working folder has no three-character root; ask for the folder itself.
  ULARGE_INTEGER available;
  if (GetDiskFreeSpaceExW(Wide(folder).c_str(), &available, nullptr, nullptr)) return available.QuadPart;
  return std::nullopt;
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace ostravel::startup::win32
