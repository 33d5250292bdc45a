#include "tools/media/archive_digest.h"

#include <map>
#include <memory>

#include "base/md5.h"
#include "base/text.h"
#include "installer/engine/archive_backup_file.h"

namespace ostravel::media {
namespace {

using platform::FileSystem;

// Members are "written" into digests: the reader decodes every block as it would
// for the installer, and nothing reaches the disk.
class DigestFileSystem : public FileSystem {
 public:
  static constexpr const char* kPrefix = "|member|";
  struct Sink {
    Md5 md5;
    uint64_t size = 0;
  };
  explicit DigestFileSystem(FileSystem& real) : real_(real) {}
  std::map<std::string, std::unique_ptr<Sink>> sinks;

  std::optional<platform::FileInfo> Find(const std::string& p) override {
    return Member(p) ? std::nullopt : real_.Find(p);
  }
  bool CreateDirectories(const std::string&) override { return false; }
  bool RemoveDirectory(const std::string&) override { return false; }
  bool DeleteFile(const std::string&) override { return false; }
  bool CopyFile(const std::string&, const std::string&, bool) override { return false; }
  bool ReadFile(const std::string& p, std::string& d) override { return real_.ReadFile(p, d); }
  bool ReplaceFile(const std::string&, const std::string&) override { return false; }
  std::unique_ptr<platform::InputFile> OpenRead(const std::string& p) override { return real_.OpenRead(p); }
  std::unique_ptr<platform::OutputFile> OpenWrite(const std::string& p) override {
    if (!Member(p)) return nullptr;
    sinks[p] = std::make_unique<Sink>();
    return std::make_unique<Writer>(*sinks[p]);
  }
  std::unique_ptr<platform::OutputFile> OpenAppend(const std::string& p) override {
    auto it = sinks.find(p);
    return it == sinks.end() ? nullptr : std::make_unique<Writer>(*it->second);
  }
  bool SetAttributes(const std::string&, uint32_t) override { return false; }
  bool SetDosTime(const std::string& p, uint32_t) override { return Member(p); }
  std::vector<std::string> List(const std::string& f) override { return real_.List(f); }
  platform::DriveType GetDriveType(const std::string& r) override { return real_.GetDriveType(r); }
  std::optional<Space> GetDiskSpace(const std::string& r) override { return real_.GetDiskSpace(r); }
  std::string LastErrorText() override { return real_.LastErrorText(); }

 private:
  struct Writer : platform::OutputFile {
    Sink& sink;
    explicit Writer(Sink& s) : sink(s) {}
    bool Write(const void* data, size_t n) override {
      sink.md5.Update(data, n);
      sink.size += n;
      return true;
    }
    bool Close() override { return true; }
  };
  static bool Member(const std::string& p) { return StartsWith(p, kPrefix); }
  FileSystem& real_;
};

}  // namespace

ArchiveFacts ReadArchiveFacts(FileSystem& files, const std::string& archivePath) {
  ArchiveFacts facts;
  DigestFileSystem digest(files);
  engine::TBackupFile backup(digest);
  backup.RestoreMode = engine::rmAll;
  std::string problem;
  backup.OnNeedDisk = [&](engine::TBackupFile&, uint16_t disk, bool& cont) {
    std::string path = engine::ArchiveVolumePath(archivePath, Format("%03u", unsigned(disk)));
    cont = files.FileExists(path);
    if (!cont) problem = "missing volume " + path;
  };
  backup.OnError = [&](engine::TBackupFile&, int, const std::string& text) { problem = text; };
  backup.OnRestoreFile = [&](engine::TBackupFile&, std::string& name, int32_t time, bool& write) {
    facts.members.push_back({name, 0, time, ""});
    name = DigestFileSystem::kPrefix + std::to_string(facts.members.size());
    write = true;
  };
  bool ok = false;
  try {
    ok = backup.Restore(archivePath, "");
  } catch (const engine::ArchiveError& e) {
    problem = e.what();
  }
  if (!ok && problem.empty()) problem = files.FileExists(archivePath) ? "extraction stopped" : "no archive " + archivePath;
  if (!ok) facts.error = problem;
  for (size_t i = 0; i < facts.members.size(); ++i) {
    auto it = digest.sinks.find(DigestFileSystem::kPrefix + std::to_string(i + 1));
    if (it == digest.sinks.end()) continue;
    facts.members[i].size = it->second->size;
    facts.members[i].md5 = it->second->md5.HexDigest();
  }
  return facts;
}

std::string FileMd5(FileSystem& files, const std::string& path) {
  auto in = files.OpenRead(path);
  if (!in) return "";
  Md5 md5;
  char buffer[65536];
  for (;;) {
    int64_t n = in->Read(buffer, sizeof buffer);
    if (n < 0) return "";
    if (n == 0) return md5.HexDigest();
    md5.Update(buffer, size_t(n));
  }
}

}  // namespace ostravel::media
