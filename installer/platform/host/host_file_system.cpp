#include "installer/platform/host/host_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/cp1250.h"
#include "base/datetime.h"
#include "base/text.h"

namespace ostravel::platform {
namespace {

class HostInput : public InputFile {
 public:
  explicit HostInput(int fd) : fd_(fd) {}
  ~HostInput() override { ::close(fd_); }
  int64_t Read(void* buffer, size_t size) override {
    for (;;) {
      ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return n;
      if (errno != EINTR) return -1;
    }
  }
  uint64_t Size() override {
    struct stat st;
    return ::fstat(fd_, &st) == 0 ? uint64_t(st.st_size) : 0;
  }
  bool Skip(uint64_t count) override {
    off_t here = ::lseek(fd_, 0, SEEK_CUR);
    if (here < 0) return false;
    uint64_t size = Size();
    if (uint64_t(here) > size || count > size - uint64_t(here)) {
      ::lseek(fd_, 0, SEEK_END);
      return false;
    }
    return ::lseek(fd_, off_t(count), SEEK_CUR) >= 0;
  }

 private:
  int fd_;
};

class HostOutput : public OutputFile {
 public:
  explicit HostOutput(int fd) : fd_(fd) {}
  ~HostOutput() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Write(const void* data, size_t size) override {
    auto p = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t n = ::write(fd_, p, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        ok_ = false;
        return false;
      }
      p += n;
      size -= size_t(n);
    }
    return true;
  }
  bool Close() override {
    if (fd_ < 0) return ok_;
    bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return ok_ && closed;
  }

 private:
  int fd_;
  bool ok_ = true;
};

}  // namespace

void HostFileSystem::MapDrive(char letter, const std::string& hostFolder, DriveType type) {
  drives_[UpperCaseChar(letter)] = {hostFolder, type, {}};
}

void HostFileSystem::SetDriveDetails(char letter, DriveDetails details) {
  auto it = drives_.find(UpperCaseChar(letter));
  if (it != drives_.end()) it->second.details = std::move(details);
}

// The drive of "X:..." or of the share a drive is connected to.
const HostFileSystem::Drive* HostFileSystem::DriveOf(const std::string& path) const {
  if (path.size() >= 2 && path[1] == ':') {
    auto it = drives_.find(UpperCaseChar(path[0]));
    return it == drives_.end() ? nullptr : &it->second;
  }
  for (const auto& [letter, drive] : drives_)
    if (drive.details.remoteName && SameText(WithoutTrailing(path, '\\'), *drive.details.remoteName)) return &drive;
  return nullptr;
}

std::string HostFileSystem::HostPath(const std::string& path) const {
  std::string p = path;
  if (p.size() >= 2 && p[1] == ':' && !drives_.empty()) {
    auto it = drives_.find(UpperCaseChar(p[0]));
    std::string root = it != drives_.end() ? it->second.folder : "/nonexistent-drive-" + std::string(1, p[0]);
    p = root + "/" + p.substr(p.size() > 2 && (p[2] == '\\' || p[2] == '/') ? 3 : 2);
  }
  for (char& c : p)
    if (c == '\\') c = '/';
  return Cp1250ToUtf8(p);
}

void HostFileSystem::Fail() { lastError_ = std::strerror(errno); }

// Even root must not write a file marked read-only: Windows would refuse.
bool HostFileSystem::IsReadOnly(const std::string& hostPath) {
  struct stat st;
  if (::stat(hostPath.c_str(), &st) != 0 || (st.st_mode & S_IWUSR)) return false;
  errno = EACCES;
  Fail();
  return true;
}

uint32_t HostFileSystem::StoredAttributes(const std::string& path) const {
  auto it = attributes_.find(HostPath(path));
  return it == attributes_.end() ? 0 : it->second;
}

std::optional<FileInfo> HostFileSystem::Find(const std::string& path) {
  std::string host = HostPath(path);
  if (!host.empty() && host.back() == '/' && host.size() > 1) host.pop_back();
  struct stat st, link;
  // A symbolic link shows as what it points at, marked as a link (a reparse point
  // on Windows); a dangling one as a file.
  const bool isLink = ::lstat(host.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  if (::stat(host.c_str(), &st) != 0) {
    if (!isLink) return std::nullopt;
    st = link;
  }
  FileInfo info;
  info.size = S_ISDIR(st.st_mode) ? 0 : uint64_t(st.st_size);
  info.attributes = S_ISDIR(st.st_mode) ? uint32_t(kAttrDirectory) : 0u;
  if (isLink) info.attributes |= kAttrReparsePoint;
  if (!(st.st_mode & S_IWUSR)) info.attributes |= kAttrReadOnly;
  auto it = attributes_.find(host);
  if (it != attributes_.end()) info.attributes |= it->second & (kAttrHidden | kAttrSystem | kAttrArchive);
  if (!S_ISDIR(st.st_mode) && !(info.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive)))
    info.attributes |= kAttrArchive;
  struct tm tmv;
  time_t t = st.st_mtime;
  localtime_r(&t, &tmv);
  DateTime dt{tmv.tm_year + 1900, tmv.tm_mon + 1, tmv.tm_mday, tmv.tm_hour, tmv.tm_min, tmv.tm_sec, 0};
  info.dosTime = dt.year >= 1980 ? PackDosDateTime(dt) : 0;
  return info;
}

bool HostFileSystem::CreateDirectories(const std::string& path) {
  std::string host = HostPath(path);
  struct stat st;
  // Most calls find the folder there: one question, not one per level.
  if (::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  std::string cur;
  size_t i = 0;
  while (i <= host.size()) {
    size_t slash = host.find('/', i);
    if (slash == std::string::npos) slash = host.size();
    cur = host.substr(0, slash);
    if (!cur.empty() && ::mkdir(cur.c_str(), 0777) != 0 && errno != EEXIST) {
      Fail();
      return false;
    }
    i = slash + 1;
  }
  if (::stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    lastError_ = "not a folder";
    return false;
  }
  return true;
}

bool HostFileSystem::RemoveDirectory(const std::string& path) {
  std::string host = HostPath(path);
  if (!host.empty() && host.back() == '/' && host.size() > 1) host.pop_back();
  // As on Windows, removing a link to a folder removes the link, not the folder.
  struct stat link;
  if (::lstat(host.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (::unlink(host.c_str()) == 0) return true;
    Fail();
    return false;
  }
  if (::rmdir(host.c_str()) == 0) return true;
  Fail();
  return false;
}

bool HostFileSystem::DeleteFile(const std::string& path) {
  std::string host = HostPath(path);
  if (::unlink(host.c_str()) == 0) {
    attributes_.erase(host);
    return true;
  }
  Fail();
  return false;
}

bool HostFileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  if (!overwrite && Find(to)) {
    lastError_ = "file exists";
    return false;
  }
  std::string data;
  if (!ReadFile(from, data)) return false;
  auto out = OpenWrite(to);
  if (!out || !out->Write(data.data(), data.size()) || !out->Close()) return false;
  return true;
}

bool HostFileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (Find(to)) {
    lastError_ = "file exists";
    return false;
  }
  const std::string source = HostPath(from), target = HostPath(to);
  if (::rename(source.c_str(), target.c_str()) == 0) return true;
  if (errno != EXDEV) {
    Fail();
    return false;
  }
  if (CopyFile(from, to, false) && DeleteFile(from)) return true;
  ::unlink(target.c_str());
  return false;
}

bool HostFileSystem::RenameFolder(const std::string& from, const std::string& to) {
  auto info = Find(from);
  if (!info || !info->IsDirectory() || Find(to)) {
    lastError_ = info ? "file exists" : "no such folder";
    return false;
  }
  if (::rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0) return true;
  Fail();
  return false;
}

bool HostFileSystem::ReadFile(const std::string& path, std::string& data) {
  auto in = OpenRead(path);
  if (!in) return false;
  data.clear();
  char buf[65536];
  for (;;) {
    int64_t n = in->Read(buf, sizeof buf);
    if (n < 0) {
      Fail();
      return false;
    }
    if (n == 0) return true;
    data.append(buf, size_t(n));
  }
}

bool HostFileSystem::ReplaceFile(const std::string& path, const std::string& data) {
  std::string host = HostPath(path);
  if (IsReadOnly(host)) return false;
  std::string temp = host + ".~tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) {
    Fail();
    return false;
  }
  HostOutput out(fd);
  bool ok = out.Write(data.data(), data.size()) && ::fsync(fd) == 0;
  ok = out.Close() && ok;
  if (!ok || ::rename(temp.c_str(), host.c_str()) != 0) {
    Fail();
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

std::unique_ptr<InputFile> HostFileSystem::OpenRead(const std::string& path) {
  int fd = ::open(HostPath(path).c_str(), O_RDONLY);
  if (fd < 0) {
    Fail();
    return nullptr;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    Fail();
    return nullptr;
  }
  return std::make_unique<HostInput>(fd);
}

std::unique_ptr<OutputFile> HostFileSystem::OpenWrite(const std::string& path) {
  std::string host = HostPath(path);
  if (IsReadOnly(host)) return nullptr;
  int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) {
    Fail();
    return nullptr;
  }
  return std::make_unique<HostOutput>(fd);
}

std::unique_ptr<OutputFile> HostFileSystem::OpenAppend(const std::string& path) {
  std::string host = HostPath(path);
  if (IsReadOnly(host)) return nullptr;
  int fd = ::open(host.c_str(), O_WRONLY | O_APPEND);
  if (fd < 0) {
    Fail();
    return nullptr;
  }
  return std::make_unique<HostOutput>(fd);
}

bool HostFileSystem::CanOpenExclusive(const std::string& path) {
  // POSIX has no sharing modes: a file that opens for reading and writing is free.
  std::string host = HostPath(path);
  if (IsReadOnly(host)) return false;
  int fd = ::open(host.c_str(), O_RDWR);
  if (fd < 0) {
    Fail();
    return false;
  }
  ::close(fd);
  return true;
}

bool HostFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  std::string host = HostPath(path);
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) {
    Fail();
    return false;
  }
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & kAttrReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
  if (::chmod(host.c_str(), mode) != 0) {
    Fail();
    return false;
  }
  attributes_[host] = attributes;
  return true;
}

bool HostFileSystem::SetDosTime(const std::string& path, uint32_t dosTime) {
  auto dt = UnpackDosDateTime(dosTime);
  if (!dt) {
    lastError_ = "invalid date-time";
    return false;
  }
  struct tm tmv {};
  tmv.tm_year = dt->year - 1900;
  tmv.tm_mon = dt->month - 1;
  tmv.tm_mday = dt->day;
  tmv.tm_hour = dt->hour;
  tmv.tm_min = dt->minute;
  tmv.tm_sec = dt->second;
  tmv.tm_isdst = -1;
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = ::mktime(&tmv);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  if (::utimensat(AT_FDCWD, HostPath(path).c_str(), times, 0) != 0) {
    Fail();
    return false;
  }
  return true;
}

std::vector<std::string> HostFileSystem::List(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(HostPath(folder).c_str());
  if (!dir) return names;
  while (struct dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    names.push_back(Utf8ToCp1250(e->d_name));
  }
  ::closedir(dir);
  return names;
}

DriveType HostFileSystem::GetDriveType(const std::string& root) {
  if (root.size() < 2 || root[1] != ':') return DriveType::NoRootDir;
  auto it = drives_.find(UpperCaseChar(root[0]));
  return it == drives_.end() ? DriveType::NoRootDir : it->second.type;
}

std::optional<FileSystem::Space> HostFileSystem::GetDiskSpace(const std::string& root) {
  const Drive* drive = DriveOf(root);
  if (drive && drive->details.spaceFails) {
    lastError_ = "The device is not ready.";
    return std::nullopt;
  }
  if (drive && drive->details.space) return drive->details.space;
  struct statvfs vfs;
  const std::string hostFolder = drive && !(root.size() >= 2 && root[1] == ':') ? drive->folder : HostPath(root);
  if (::statvfs(hostFolder.c_str(), &vfs) != 0) {
    Fail();
    return std::nullopt;
  }
  return Space{uint64_t(vfs.f_bavail) * vfs.f_frsize, uint64_t(vfs.f_blocks) * vfs.f_frsize};
}

std::string HostFileSystem::VolumeLabel(const std::string& root) {
  const Drive* drive = DriveOf(root);
  return drive ? drive->details.label : "";
}

std::optional<std::string> HostFileSystem::NetworkRemoteName(const std::string& drive) {
  const Drive* d = drive.size() >= 2 && drive[1] == ':' ? DriveOf(drive) : nullptr;
  return d && d->type == DriveType::Remote ? d->details.remoteName : std::nullopt;
}

}  // namespace ostravel::platform
