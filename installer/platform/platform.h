#pragma once
// The machine as the installer sees it. Engine, wizard logic, net and dbserver code
// reach files, registry, processes and the rest only through these interfaces; the
// Win32 implementation is the real thing, the fakes serve host tests.
//
// Every text here is CP1250, paths included; UTF-16 exists only inside win32/.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/datetime.h"

#ifdef _WIN32
#include "installer/platform/win32/undef_macros.h"
#endif

namespace ostravel::platform {

// ---- files -------------------------------------------------------------------

enum FileAttribute : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

struct FileInfo {
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint32_t dosTime = 0;  // last write, local time, packed
  bool IsDirectory() const { return attributes & kAttrDirectory; }
};

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Bytes read; 0 at the end; -1 on a read error.
  virtual int64_t Read(void* buffer, size_t size) = 0;
  virtual uint64_t Size() = 0;
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  // Flushes and closes; false when anything written did not reach the disk.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // First entry found for the path, hidden and system entries included.
  virtual std::optional<FileInfo> Find(const std::string& path) = 0;
  bool FileExists(const std::string& path) {
    auto f = Find(path);
    return f && !f->IsDirectory();
  }
  bool DirectoryExists(const std::string& path) {
    auto f = Find(path);
    return f && f->IsDirectory();
  }
  virtual bool CreateDirectories(const std::string& path) = 0;
  virtual bool RemoveDirectory(const std::string& path) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  virtual bool CopyFile(const std::string& from, const std::string& to, bool overwrite) = 0;
  virtual bool ReadFile(const std::string& path, std::string& data) = 0;
  // Replaces the file's content in one step: a reader never sees a half-written file.
  virtual bool ReplaceFile(const std::string& path, const std::string& data) = 0;
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& path) = 0;
  virtual std::unique_ptr<OutputFile> OpenWrite(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual bool SetDosTime(const std::string& path, uint32_t dosTime) = 0;
  // Names (no paths) of the entries of a folder.
  virtual std::vector<std::string> List(const std::string& folder) = 0;
  // Root like "C:\".
  virtual DriveType GetDriveType(const std::string& root) = 0;
  struct Space {
    uint64_t freeBytes = 0, totalBytes = 0;
  };
  virtual std::optional<Space> GetDiskSpace(const std::string& root) = 0;
  // System text of the last failure, for error messages.
  virtual std::string LastErrorText() = 0;
};

// ---- registry ----------------------------------------------------------------

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
enum class RegView { Default, Wow32, Wow64 };
enum class RegRead { Ok, Missing, WrongType };

// Exact-case root names of scripts ("HKEY_LOCAL_MACHINE"); nullopt otherwise.
std::optional<RootKey> RootKeyFromName(const std::string& name);
const char* RootKeyName(RootKey root);

class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool KeyExists(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
  // Missing key or value: Missing; a value that is not REG_SZ / REG_EXPAND_SZ: WrongType.
  virtual RegRead ReadString(RootKey root, const std::string& subKey, const std::string& name,
                             std::string& value, RegView view = RegView::Wow32) = 0;
  virtual RegRead ReadDword(RootKey root, const std::string& subKey, const std::string& name,
                            uint32_t& value, RegView view = RegView::Wow32) = 0;
  virtual bool CreateKey(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
  // Opens the key for full access without creating it: the rights probe.
  virtual bool CanOpenForWrite(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
  virtual bool WriteString(RootKey root, const std::string& subKey, const std::string& name,
                           const std::string& value, RegView view = RegView::Wow32) = 0;
  virtual bool WriteDword(RootKey root, const std::string& subKey, const std::string& name,
                          uint32_t value, RegView view = RegView::Wow32) = 0;
  virtual bool DeleteValue(RootKey root, const std::string& subKey, const std::string& name,
                           RegView view = RegView::Wow32) = 0;
  virtual bool DeleteKey(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
};

// ---- the running system --------------------------------------------------------

struct VersionRecord {
  bool valid = false;
  std::string text;  // "%d.%.2d", at most 255 characters
  uint16_t productMajor = 0, productMinor = 0, productRelease = 0, productBuild = 0;
  uint16_t fileMajor = 0, fileMinor = 0, fileRelease = 0, fileBuild = 0;
};

class System {
 public:
  virtual ~System() = default;
  // Each with a trailing "\".
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
  virtual std::string TempFolder() = 0;
  // Full path of the running program file.
  virtual std::string ProgramPath() = 0;
  // Parameters 1..count (the program itself is not included).
  virtual std::vector<std::string> Parameters() = 0;
  virtual DateTime Now() = 0;
  // Version resource of a file; valid=false when it has none.
  virtual VersionRecord ReadVersion(const std::string& path) = 0;
  virtual bool IsWow64() = 0;

  // Processes. RunAndWait keeps this program's windows alive while it waits;
  // returns the exit code, or kRunFailed when the program could not be started.
  static constexpr int kRunFailed = -1;
  virtual int RunAndWait(const std::string& program, const std::string& parameters) = 0;
  // Starts a program as a normal window without waiting.
  virtual bool Start(const std::string& commandLine) = 0;
  virtual void ProcessMessages() = 0;

  // Global atoms and top-level windows.
  virtual uint16_t FindAtom(const std::string& name) = 0;
  virtual uint16_t AddAtom(const std::string& name) = 0;
  virtual void DeleteAtom(uint16_t atom) = 0;
  virtual bool WindowOfClassExists(const std::string& className) = 0;
};

// Everything together, passed by reference to whoever needs the machine.
struct Platform {
  FileSystem& files;
  Registry& registry;
  System& system;
};

}  // namespace ostravel::platform
