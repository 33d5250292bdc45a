#include <optional>
#include <vector>

#include "base/win32/shared_names.h"
#include "base/win32/system_library.h"
#include "base/win32/unique_handle.h"
#include "startup/launch_rules.h"
#include "startup/win32_launcher.h"

namespace ostravel::startup::win32 {

namespace {

using ostravel::win32::UniqueFile;
using ostravel::win32::UniqueFind;

// Names of the plain files of a folder, in the order the system lists them.
std::vector<std::string> FilesOf(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  UniqueFind find(FindFirstFileW(Wide(folder + "*.*").c_str(), &found));
  if (!find) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Narrow(found.cFileName));
  } while (FindNextFileW(find.get(), &found));
  return names;
}

void CopyOneFile(const std::string& source, const std::string& target, ProgressWindow& progress) {
  const std::optional<uint32_t> time = DosTimeOf(source);
  SetAttributes(target, FILE_ATTRIBUTE_ARCHIVE);
  UniqueFile in(CreateFileW(Wide(source).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in) return;
  UniqueFile out(
      CreateFileW(Wide(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (out) {
    std::vector<char> buffer(kCopyBufferSize);
    for (;;) {
      DWORD got = 0, written = 0;
      if (!ReadFile(in.get(), buffer.data(), kCopyBufferSize, &got, nullptr)) got = 0;
      if (got > 0) WriteFile(out.get(), buffer.data(), got, &written, nullptr);
      progress.Step();
      if (got == 0 || written < got) break;
    }
    out.reset();  // closed before its time is set
  }
  if (time) SetDosTime(target, *time);
}

// lz32 is not a known DLL: it must come from the system folder.
struct Lz32 {
  INT(WINAPI* open)(LPWSTR, LPOFSTRUCT, WORD) = nullptr;
  INT(WINAPI* init)(INT) = nullptr;
  LONG(WINAPI* copy)(INT, INT) = nullptr;
  void(WINAPI* close)(INT) = nullptr;
};

const Lz32& Lz32Api() {
  static const Lz32 api = [] {
    Lz32 a;
    a.open = ostravel::win32::SystemProc<decltype(a.open)>(L"lz32.dll", "LZOpenFileW");
    a.init = ostravel::win32::SystemProc<decltype(a.init)>(L"lz32.dll", "LZInit");
    a.copy = ostravel::win32::SystemProc<decltype(a.copy)>(L"lz32.dll", "LZCopy");
    a.close = ostravel::win32::SystemProc<decltype(a.close)>(L"lz32.dll", "LZClose");
    return a;
  }();
  return api;
}

void LzCloseFn(INT handle) { Lz32Api().close(handle); }
// An LZ handle (negative values are the LZ functions' error codes).
using UniqueLzFile = ostravel::win32::UniqueAny<INT, ostravel::win32::HandleTraits<INT, LzCloseFn, -1>>;
UniqueLzFile LzFile(INT handle) { return UniqueLzFile(handle < 0 ? -1 : handle); }

// Through the LZ functions' own opening: LZCopy's result, nothing when the source
// does not open that way.
std::optional<LONG> ExpandByName(const Lz32& lz, std::wstring source, std::wstring target) {
  OFSTRUCT sourceInfo{}, targetInfo{};
  const UniqueLzFile in = LzFile(lz.open(source.data(), &sourceInfo, OF_READ | OF_SHARE_DENY_WRITE));
  if (!in) return std::nullopt;
  const UniqueLzFile out = LzFile(lz.open(target.data(), &targetInfo, OF_CREATE));
  return out ? lz.copy(in.get(), out.get()) : -1;
}

// LZOpenFile keeps paths in 128 characters; deeper working folders open the files
// themselves and hand the handles to the LZ functions.
LONG ExpandByHandle(const Lz32& lz, const std::wstring& source, const std::wstring& target) {
  UniqueFile inFile(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!inFile) return -1;
  const UniqueLzFile in = LzFile(lz.init(static_cast<INT>(HandleToLong(inFile.get()))));
  if (!in) return -1;
  inFile.release();  // closed with the LZ handle
  const UniqueFile outFile(
      CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
  return outFile ? lz.copy(in.get(), static_cast<INT>(HandleToLong(outFile.get()))) : -1;
}

}  // namespace

void EmptyFolder(const std::string& folder) {
  for (const std::string& name : FilesOf(folder)) {
    SetAttributes(folder + name, FILE_ATTRIBUTE_ARCHIVE);
    DeleteFileAt(folder + name);
  }
}

void CopyFolderFiles(const std::string& from, const std::string& programPath, const std::string& to,
                     ProgressWindow& progress) {
  for (const std::string& name : FilesOf(from)) {
    if (from + name == programPath) continue;
    CopyOneFile(from + name, to + name, progress);
  }
}

ExpandResult ExpandInstaller(const std::string& workFolder) {
  const std::string source = workFolder + names::kCompressedInstallerName;
  const std::string target = workFolder + names::kInstallerName;
  SetAttributes(target, FILE_ATTRIBUTE_ARCHIVE);
  DeleteFileAt(target);
  if (!FileExists(source)) return ExpandResult::kMissing;
  const Lz32& lz = Lz32Api();
  if (!lz.open || !lz.init || !lz.copy || !lz.close) return ExpandResult::kFailed;

  const std::optional<uint32_t> time = DosTimeOf(source);
  std::optional<LONG> copied = ExpandByName(lz, Wide(source), Wide(target));
  if (!copied) copied = ExpandByHandle(lz, Wide(source), Wide(target));
  if (*copied < 0) {
    // A damaged archive must not leave a truncated program that would start.
    DeleteFileAt(target);
    return ExpandResult::kFailed;
  }
  DeleteFileAt(source);
  if (time) SetDosTime(target, *time);
  return ExpandResult::kExpanded;
}

}  // namespace ostravel::startup::win32
