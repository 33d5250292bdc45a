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
  UniqueFile out(CreateFileW(Wide(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                             nullptr));
  if (out) {
    std::vector<char> buffer(kCopyBufferSize);
    for (;;) {
      DWORD got = 0, written = 0;
      if (!ReadFile(in.get(), buffer.data(), kCopyBufferSize, &got, nullptr)) got = 0;
      if (got > 0) WriteFile(out.get(), buffer.data(), got, &written, nullptr);
      progress.Step();
      ProcessMessages();
      if (got == 0 || written < got) break;
    }
    out.reset();  // closed before its time is set
  }
  if (time) SetDosTime(target, *time);
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

  // lz32 is not a known DLL: it must come from the system folder.
  using OpenFn = INT(WINAPI*)(LPWSTR, LPOFSTRUCT, WORD);
  using InitFn = INT(WINAPI*)(INT);
  using CopyFn = LONG(WINAPI*)(INT, INT);
  using CloseFn = void(WINAPI*)(INT);
  const auto lzOpen = ostravel::win32::SystemProc<OpenFn>(L"lz32.dll", "LZOpenFileW");
  const auto lzInit = ostravel::win32::SystemProc<InitFn>(L"lz32.dll", "LZInit");
  const auto lzCopy = ostravel::win32::SystemProc<CopyFn>(L"lz32.dll", "LZCopy");
  const auto lzClose = ostravel::win32::SystemProc<CloseFn>(L"lz32.dll", "LZClose");
  if (!lzOpen || !lzInit || !lzCopy || !lzClose) return ExpandResult::kFailed;

  const std::optional<uint32_t> time = DosTimeOf(source);
  std::wstring sourceName = Wide(source);
  std::wstring targetName = Wide(target);
  LONG copied = -1;
  OFSTRUCT sourceInfo{}, targetInfo{};
  const INT in = lzOpen(sourceName.data(), &sourceInfo, OF_READ | OF_SHARE_DENY_WRITE);
  if (in >= 0) {
    const INT out = lzOpen(targetName.data(), &targetInfo, OF_CREATE);
    if (out >= 0) {
      copied = lzCopy(in, out);
      lzClose(out);
    }
    lzClose(in);
  } else {
    // LZOpenFile keeps paths in 128 characters; deeper working folders open the
    // files themselves and hand the handles to the LZ functions.
    HANDLE inFile = CreateFileW(sourceName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (inFile != INVALID_HANDLE_VALUE) {
      const INT lzIn = lzInit(static_cast<INT>(HandleToLong(inFile)));
      if (lzIn < 0) {
        CloseHandle(inFile);
      } else {
        HANDLE outFile = CreateFileW(targetName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_ARCHIVE, nullptr);
        if (outFile != INVALID_HANDLE_VALUE) {
          copied = lzCopy(lzIn, static_cast<INT>(HandleToLong(outFile)));
          CloseHandle(outFile);
        }
        lzClose(lzIn);  // closes inFile too
      }
    }
  }
  if (copied < 0) {
    // A damaged archive must not leave a truncated program that would start.
    DeleteFileAt(target);
    return ExpandResult::kFailed;
  }
  DeleteFileAt(source);
  if (time) SetDosTime(target, *time);
  return ExpandResult::kExpanded;
}

}  // namespace ostravel::startup::win32
