#pragma once
// Files, folders and drives of the machine.
// Every text here is CP1250, paths included; UTF-16 exists only inside win32/.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

enum FileAttribute : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
  kAttrReparsePoint = 0x400,  // a junction or symbolic link
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
  // Moves forward without reading; false when fewer than `count` bytes remain or on
  // error. The default reads and discards; real files override it with a seek.
  virtual bool Skip(uint64_t count);
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  // Flushes and closes; false when anything written did not reach the disk.
  virtual bool Close() = 0;
  // Sets the last-write time through the open file, for a caller that writes no more:
  // one open of the file fewer than FileSystem::SetDosTime. False where it cannot be
  // done so; the caller then sets it by path after closing.
  virtual bool SetDosTime(uint32_t /*dosTime*/) { return false; }
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
  // Moves a file; an existing target is never replaced. Between drives it copies,
  // and a copy that fails leaves no target behind. The default copies and deletes.
  virtual bool MoveFile(const std::string& from, const std::string& to);
  // Renames a folder, or moves it to another parent on the same volume, in one
  // step: never a copy. False when the target exists, the volumes differ or a file
  // inside is in use. The default cannot do it in one step and refuses.
  virtual bool RenameFolder(const std::string& /*from*/, const std::string& /*to*/) { return false; }
  virtual bool ReadFile(const std::string& path, std::string& data) = 0;
  // Replaces the file's content in one step: a reader never sees a half-written file.
  virtual bool ReplaceFile(const std::string& path, const std::string& data) = 0;
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& path) = 0;
  virtual std::unique_ptr<OutputFile> OpenWrite(const std::string& path) = 0;
  // Opens an existing file for writing at its end; nullptr when it does not exist.
  virtual std::unique_ptr<OutputFile> OpenAppend(const std::string& path) = 0;
  // Opens an existing file for reading and writing with no sharing and closes it:
  // false while another program holds it open. The default only tests that the
  // file can be opened for writing.
  virtual bool CanOpenExclusive(const std::string& path) { return OpenAppend(path) != nullptr; }
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual bool SetDosTime(const std::string& path, uint32_t dosTime) = 0;
  // Deletes a folder with everything in it, depth first; files lose their
  // attributes before deletion, single failures are passed over. A junction or
  // symbolic link inside is removed itself and never followed, so nothing outside
  // the folder is touched; a folder that is itself a link loses only the link.
  // Refuses blank paths and drive roots. True when the folder is gone.
  virtual bool DeleteTree(const std::string& folder);
  // Names (no paths) of the entries of a folder.
  virtual std::vector<std::string> List(const std::string& folder) = 0;
  // Root like "C:\".
  virtual DriveType GetDriveType(const std::string& root) = 0;
  struct Space {
    uint64_t freeBytes = 0, totalBytes = 0;
  };
  virtual std::optional<Space> GetDiskSpace(const std::string& root) = 0;
  // Label of the volume at a root like "C:\"; empty when it has none or cannot be read.
  virtual std::string VolumeLabel(const std::string& /*root*/) { return ""; }
  // Remote path ("\\server\share") a drive letter like "X:" is connected to;
  // nullopt when it is no network connection or the query fails.
  virtual std::optional<std::string> NetworkRemoteName(const std::string& /*drive*/) { return std::nullopt; }
  // Names of the sub-folders of a folder, in the order the system lists them.
  std::vector<std::string> SubFolders(const std::string& folder);
  // System text of the last failure, for error messages.
  virtual std::string LastErrorText() = 0;
};

}  // namespace ostravel::platform
