#pragma once
// The launcher's contact with Windows. Everything here takes and returns CP1250
// text; UTF-16 exists only inside these functions.
#include "base/win32/windows_clean.h"

#include <cstdint>
#include <optional>
#include <string>

#include "base/win32/wide.h"

namespace ostravel::startup::win32 {

using ostravel::win32::Narrow;
using ostravel::win32::Wide;

// Full path of this program; the system's temporary and Windows folders, the
// temporary one with a trailing "\".
std::string ProgramPath();
std::string TempFolder();
std::string WindowsFolder();

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
bool CreateOneFolder(const std::string& path);
// Nullopt when the file cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& data);
void SetAttributes(const std::string& path, DWORD attributes);
void DeleteFileAt(const std::string& path);
// Last-write time in the packed local DOS form, as the medium's file times are kept.
std::optional<uint32_t> DosTimeOf(const std::string& path);
void SetDosTime(const std::string& path, uint32_t dosTime);

// Sum of the sizes of every entry that "*.*" finds in the folder.
uint64_t FolderTotal(const std::string& folder);
// Free bytes on the drive of `folder` (its first three characters); nullopt when
// the system cannot tell.
std::optional<uint64_t> FreeBytesOf(const std::string& folder);

// Takes and dispatches every pending message of this thread.
void ProcessMessages();

// The small window shown while the medium is copied.
class ProgressWindow {
 public:
  ProgressWindow(HINSTANCE instance, const std::string& title, const std::string& text, bool smooth);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  void SetRange(int32_t maximum);
  // One step, as the bar's own step would take it (past the end it starts over). The
  // bar is moved and the window's messages handled at most every few tens of
  // milliseconds: a step per 8 KiB buffer, each repainted, cost seconds on a large medium.
  void Step();
  // The bar at the position reached, the messages handled.
  void Show();
  void HideProgress();
  void Hide();
  HWND Handle() const { return main_; }

 private:
  HWND main_ = nullptr;
  HWND progress_ = nullptr;
  int32_t maximum_ = 100, position_ = 0;
  DWORD shownAt_ = 0;
};

// Deletes every file (not folder) in the working folder.
void EmptyFolder(const std::string& folder);
// Copies every file of `from` but `programPath` into `to`, one progress step per buffer.
void CopyFolderFiles(const std::string& from, const std::string& programPath, const std::string& to,
                     ProgressWindow& progress);

enum class ExpandResult { kExpanded, kMissing, kFailed };
// "_setup1.ex_" into "installer.exe" through the system's LZ expansion.
ExpandResult ExpandInstaller(const std::string& workFolder);

}  // namespace ostravel::startup::win32
