#pragma once
// FileSystem held in memory, for host tests and fuzzers. Paths follow Windows rules:
// "\" or "/" separators, case-insensitive names, drive roots ("C:\") always present,
// a file needs an existing parent folder, read-only files refuse writes and deletion.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "installer/platform/files.h"

namespace ostravel::platform {

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();

  // Creates the file and its missing parent folders; replaces an existing file.
  void AddFile(const std::string& path, const std::string& data, uint32_t dosTime = 0);
  // Content of a file; nullopt when there is no such file.
  std::optional<std::string> Contents(const std::string& path) const;
  // Last-write time given to files written from now on.
  void SetClock(uint32_t dosTime) { clock_ = dosTime; }
  // Total bytes all files may hold; writes beyond it fail as on a full disk.
  void SetCapacity(uint64_t bytes) { capacity_ = bytes; }
  void SetDriveType(char letter, DriveType type);
  // Held open by another program: exclusive opens fail, reads still work.
  void Lock(const std::string& path) { locked_.insert(Key(path)); }
  // Reading refused (access denied): reads and read opens fail; the file is still found.
  void DenyReading(const std::string& path) { unreadable_.insert(Key(path)); }
  // Asked before every change; once it says no, nothing changes any more, as on a
  // machine whose installer was killed.
  std::function<bool()> mayChange;
  // Every path of a file, in sorted order of the normalised upper-case key.
  std::vector<std::string> AllFiles() const;
  // Every folder and file `include` takes, with its attributes, time and bytes: a
  // whole state to compare.
  std::string Dump(const std::function<bool(const std::string& path)>& include) const;

  std::optional<FileInfo> Find(const std::string& path) override;
  bool CreateDirectories(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
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
  std::string LastErrorText() override { return lastError_; }

  struct Node {
    std::string path;  // as first created, normalised
    bool directory = false;
    uint32_t attributes = 0;
    uint32_t dosTime = 0;
    std::string data;
  };

 private:
  friend class MemoryOutput;
  static std::string Normalize(const std::string& path);
  static std::string Key(const std::string& path);
  static std::string ParentOf(const std::string& normalized);
  static bool IsRoot(const std::string& normalized);
  Node* Lookup(const std::string& path);
  bool ParentExists(const std::string& normalized);
  bool Fail(const char* text);
  bool Stopped() { return mayChange && !mayChange() && !Fail("The machine stopped."); }
  std::shared_ptr<Node> WritableFile(const std::string& path, bool create);

  std::map<std::string, std::shared_ptr<Node>> nodes_;
  std::map<char, DriveType> driveTypes_;
  std::set<std::string> locked_;
  std::set<std::string> unreadable_;
  uint32_t clock_;
  uint64_t capacity_ = UINT64_MAX;
  uint64_t used_ = 0;  // bytes held by all files
  std::string lastError_;
};

}  // namespace ostravel::platform
