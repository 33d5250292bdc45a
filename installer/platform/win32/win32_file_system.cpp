#include "base/win32/windows_clean.h"

#include "base/text.h"
#include "base/win32/dos_time.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/file_names.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {
namespace {

using platform::FileInfo;

class Win32Input : public platform::InputFile {
 public:
  explicit Win32Input(HANDLE h) : file_(h) {}
  int64_t Read(void* buffer, size_t size) override {
    DWORD got = 0;
    DWORD want = size > 0x40000000 ? 0x40000000 : DWORD(size);
    if (!::ReadFile(file_.get(), buffer, want, &got, nullptr)) return -1;
    return got;
  }
  uint64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(file_.get(), &size) ? uint64_t(size.QuadPart) : 0;
  }
  bool Skip(uint64_t count) override {
    LARGE_INTEGER distance, now, size;
    distance.QuadPart = LONGLONG(count);
    if (!SetFilePointerEx(file_.get(), LARGE_INTEGER{}, &now, FILE_CURRENT) || !GetFileSizeEx(file_.get(), &size))
      return false;
    // Never past the end: a skip that cannot be done is a truncated file.
    if (uint64_t(size.QuadPart - now.QuadPart) < count) return false;
    return SetFilePointerEx(file_.get(), distance, nullptr, FILE_CURRENT) != 0;
  }

 private:
  UniqueFile file_;
};

class Win32Output : public platform::OutputFile {
 public:
  explicit Win32Output(HANDLE h) : file_(h) {}
  bool Write(const void* data, size_t size) override {
    auto p = static_cast<const char*>(data);
    while (size > 0) {
      DWORD chunk = size > 0x40000000 ? 0x40000000 : DWORD(size), written = 0;
      if (!::WriteFile(file_.get(), p, chunk, &written, nullptr) || written == 0) {
        ok_ = false;
        return false;
      }
      p += written;
      size -= written;
    }
    return true;
  }
  bool Close() override {
    if (!file_) return ok_;
    bool closed = CloseHandle(file_.release()) != 0;
    return ok_ && closed;
  }
  // A time set through the handle stays when it is closed.
  bool SetDosTime(uint32_t dosTime) override {
    const std::optional<FILETIME> utc = FileTimeFromDosTime(dosTime);
    return file_ && utc && SetFileTime(file_.get(), nullptr, nullptr, &*utc);
  }

 private:
  UniqueFile file_;
  bool ok_ = true;
};

}  // namespace

bool Win32FileSystem::Fail() {
  lastError_ = GetLastError();
  return false;
}

std::string Win32FileSystem::LastErrorText() { return SystemErrorText(lastError_); }

std::optional<FileInfo> Win32FileSystem::Find(const std::string& path) {
  std::string p = path;
  // A root like "C:\" has no find entry; ask for its attributes instead.
  if (p.size() <= 3 && p.size() >= 2 && p[1] == ':') {
    DWORD a = GetFileAttributesW(FileName(WithTrailing(p, '\\')).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return FileInfo{a, 0, 0};
  }
  p = WithoutTrailing(p, '\\');
  // A plain name is answered by its attributes, without the directory search that
  // opens its folder: installs and removals ask once per file.
  if (p.find_first_of("*?") == std::string::npos) {
    WIN32_FILE_ATTRIBUTE_DATA facts;
    if (!GetFileAttributesExW(FileName(p).c_str(), GetFileExInfoStandard, &facts)) {
      Fail();
      return std::nullopt;
    }
    return FileInfo{facts.dwFileAttributes, uint64_t(facts.nFileSizeHigh) << 32 | facts.nFileSizeLow,
                    DosTimeFromFileTime(facts.ftLastWriteTime).value_or(0)};
  }
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(FileName(p).c_str(), &data));
  if (!find) {
    Fail();
    return std::nullopt;
  }
  FileInfo info;
  info.attributes = data.dwFileAttributes;
  info.size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  info.dosTime = DosTimeFromFileTime(data.ftLastWriteTime).value_or(0);
  return info;
}

bool Win32FileSystem::CreateDirectories(const std::string& path) {
  std::string p = WithoutTrailing(path, '\\');
  if (p.empty()) return false;
  DWORD a = GetFileAttributesW(FileName(p).c_str());
  if (a != INVALID_FILE_ATTRIBUTES) {
    if (a & FILE_ATTRIBUTE_DIRECTORY) return true;
    SetLastError(ERROR_ALREADY_EXISTS);
    return Fail();
  }
  size_t slash = p.find_last_of('\\');
  if (slash != std::string::npos && slash > 2 && !CreateDirectories(p.substr(0, slash))) return false;
  if (CreateDirectoryW(FileName(p).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
  return Fail();
}

bool Win32FileSystem::RemoveDirectory(const std::string& path) {
  return RemoveDirectoryW(FileName(WithoutTrailing(path, '\\')).c_str()) || Fail();
}

bool Win32FileSystem::DeleteFile(const std::string& path) { return DeleteFileW(FileName(path).c_str()) || Fail(); }

bool Win32FileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  return CopyFileW(FileName(from).c_str(), FileName(to).c_str(), !overwrite) || Fail();
}

bool Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
  // Between volumes the system copies and removes a failed copy itself.
  return MoveFileExW(FileName(from).c_str(), FileName(to).c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) ||
         Fail();
}

bool Win32FileSystem::RenameFolder(const std::string& from, const std::string& to) {
  const DWORD a = GetFileAttributesW(FileName(from).c_str());
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return Fail();
  }
  // Without MOVEFILE_COPY_ALLOWED the system only renames: a folder never arrives half copied.
  return MoveFileExW(FileName(WithoutTrailing(from, '\\')).c_str(), FileName(WithoutTrailing(to, '\\')).c_str(),
                     MOVEFILE_WRITE_THROUGH) ||
         Fail();
}

bool Win32FileSystem::ReadFile(const std::string& path, std::string& data) {
  auto in = OpenRead(path);
  if (!in) return false;
  // One read into the final buffer: the setup script is megabytes, read on every page,
  // and each system read costs more than its copy. A file that grew is read on.
  const uint64_t expected = in->Size();
  data.assign(size_t(expected) + 1, '\0');
  size_t have = 0;
  for (;;) {
    if (have == data.size()) data.resize(data.size() * 2);
    const int64_t n = in->Read(data.data() + have, data.size() - have);
    if (n < 0) return Fail();
    if (n == 0) break;
    have += size_t(n);
  }
  data.resize(have);
  return true;
}

bool Win32FileSystem::ReplaceFile(const std::string& path, const std::string& data) {
  // Write beside the target, flush, then swap it in with one rename: a crash
  // leaves either the old or the new content, never a truncated file.
  DWORD a = GetFileAttributesW(FileName(path).c_str());
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return Fail();
  }
  const std::string temp = path + ".~tmp";
  {
    UniqueFile f(
        CreateFileW(FileName(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return Fail();
    Win32Output out(f.release());
    bool ok = out.Write(data.data(), data.size());
    if (!out.Close() || !ok) {
      Fail();
      DeleteFileW(FileName(temp).c_str());
      return false;
    }
  }
  if (!MoveFileExW(FileName(temp).c_str(), FileName(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail();
    DeleteFileW(FileName(temp).c_str());
    return false;
  }
  return true;
}

std::unique_ptr<platform::InputFile> Win32FileSystem::OpenRead(const std::string& path) {
  HANDLE h = CreateFileW(FileName(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    Fail();
    return nullptr;
  }
  return std::make_unique<Win32Input>(h);
}

std::unique_ptr<platform::OutputFile> Win32FileSystem::OpenWrite(const std::string& path) {
  HANDLE h =
      CreateFileW(FileName(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    Fail();
    return nullptr;
  }
  return std::make_unique<Win32Output>(h);
}

bool Win32FileSystem::CanOpenExclusive(const std::string& path) {
  UniqueFile f(CreateFileW(FileName(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  return f || Fail();
}

bool Win32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesW(FileName(path).c_str(), attributes) || Fail();
}

bool Win32FileSystem::SetDosTime(const std::string& path, uint32_t dosTime) {
  const std::optional<FILETIME> utc = FileTimeFromDosTime(dosTime);
  if (!utc) return Fail();
  UniqueFile f(CreateFileW(FileName(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!f) return Fail();
  return SetFileTime(f.get(), nullptr, nullptr, &*utc) || Fail();
}

std::vector<std::string> Win32FileSystem::List(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(FileName(WithTrailing(folder, '\\') + "*").c_str(), &data));
  if (!find) return names;
  do {
    std::wstring n = data.cFileName;
    if (n != L"." && n != L"..") names.push_back(Narrow(n));
  } while (FindNextFileW(find.get(), &data));
  return names;
}

std::unique_ptr<platform::OutputFile> Win32FileSystem::OpenAppend(const std::string& path) {
  HANDLE h =
      CreateFileW(FileName(path).c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    Fail();
    return nullptr;
  }
  return std::make_unique<Win32Output>(h);
}

platform::DriveType Win32FileSystem::GetDriveType(const std::string& root) {
  switch (::GetDriveTypeW(Wide(WithTrailing(root, '\\')).c_str())) {
    case DRIVE_NO_ROOT_DIR:
      return platform::DriveType::NoRootDir;
    case DRIVE_REMOVABLE:
      return platform::DriveType::Removable;
    case DRIVE_FIXED:
      return platform::DriveType::Fixed;
    case DRIVE_REMOTE:
      return platform::DriveType::Remote;
    case DRIVE_CDROM:
      return platform::DriveType::CdRom;
    case DRIVE_RAMDISK:
      return platform::DriveType::RamDisk;
    default:
      return platform::DriveType::Unknown;
  }
}

std::optional<platform::FileSystem::Space> Win32FileSystem::GetDiskSpace(const std::string& root) {
  NoCriticalErrorBoxes quiet;
  std::wstring r = Wide(WithTrailing(root, '\\'));
  ULARGE_INTEGER freeToUser, total, totalFree;
  if (GetDiskFreeSpaceExW(r.c_str(), &freeToUser, &total, &totalFree))
    return Space{freeToUser.QuadPart, total.QuadPart};
  // The classic query, as far as it reaches.
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
  if (!GetDiskFreeSpaceW(r.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
    Fail();
    return std::nullopt;
  }
  uint64_t cluster = uint64_t(sectorsPerCluster) * bytesPerSector;
  return Space{cluster * freeClusters, cluster * totalClusters};
}

}  // namespace ostravel::win32
