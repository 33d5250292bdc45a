#pragma once
// FileSystem on a POSIX host: the maker's tool uses it with native paths, host tests
// with drive letters mapped to temporary folders ("C:\x" -> <root>/C/x).
#include <map>
#include <string>

#include "installer/platform/files.h"

namespace ostravel::platform {

class HostFileSystem : public FileSystem {
 public:
  HostFileSystem() = default;
  // Drive letter (upper case) -> host folder that stands for its root.
  void MapDrive(char letter, const std::string& hostFolder, DriveType type = DriveType::Fixed);
  // What the volume, connection and size queries answer for a mapped drive (tests).
  struct DriveDetails {
    std::string label;
    std::optional<std::string> remoteName;  // the share a network drive is connected to
    std::optional<Space> space;             // instead of the host folder's file system
    bool spaceFails = false;
  };
  void SetDriveDetails(char letter, DriveDetails details);
  // The host path a Windows-style path stands for (backslashes become slashes).
  std::string HostPath(const std::string& path) const;

  std::optional<FileInfo> Find(const std::string& path) override;
  bool CreateDirectories(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  bool RenameFolder(const std::string& from, const std::string& to) override;
  bool ReadFile(const std::string& path, std::string& data) override;
  bool ReplaceFile(const std::string& path, const std::string& data) override;
  std::unique_ptr<InputFile> OpenRead(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenWrite(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenAppend(const std::string& path) override;
  bool CanOpenExclusive(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool SetDosTime(const std::string& path, uint32_t dosTime) override;
  std::vector<std::string> List(const std::string& folder) override;
  DriveType GetDriveType(const std::string& root) override;
  std::optional<Space> GetDiskSpace(const std::string& root) override;
  std::string VolumeLabel(const std::string& root) override;
  std::optional<std::string> NetworkRemoteName(const std::string& drive) override;
  std::string LastErrorText() override { return lastError_; }

  // Attributes other than read-only have no POSIX home; they are kept here.
  uint32_t StoredAttributes(const std::string& path) const;

 private:
  void Fail();
  bool IsReadOnly(const std::string& hostPath);
  struct Drive {
    std::string folder;
    DriveType type;
    DriveDetails details;
  };
  const Drive* DriveOf(const std::string& path) const;
  std::map<char, Drive> drives_;
  std::map<std::string, uint32_t> attributes_;
  std::string lastError_;
};

}  // namespace ostravel::platform
