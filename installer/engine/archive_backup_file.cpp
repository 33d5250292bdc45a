#include "installer/engine/archive_backup_file.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "installer/engine/archive_inflater.h"

namespace ostravel::engine {

namespace {

// Clears the busy flag on every way out of an extraction, exceptions included.
struct BusyScope {
  bool& busy;
  explicit BusyScope(bool& b) : busy(b) { busy = true; }
  ~BusyScope() { busy = false; }
};

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A relative part that would climb out of the destination folder ("..", a second
// drive, a rooted path).
bool EscapesFolder(const std::string& relative) {
  if (relative.empty() || relative[0] == '\\' || relative[0] == '/' || relative.find(':') != std::string::npos)
    return true;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find_first_of("\\/", start);
    if (end == std::string::npos) end = relative.size();
    if (relative.compare(start, end - start, "..") == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

TBackupFile::TBackupFile(platform::FileSystem& files) : files_(files) {}

TBackupFile::~TBackupFile() = default;

void TBackupFile::SetBackupMode(TBackupMode mode) {
  backupMode_ = mode;
  if (mode == bmIncremental) SetArchiveFlag = true;
}

int TBackupFile::Percent(int64_t processed, int32_t total) {
  if (total <= 0 || processed >= total) return 100;
  if (processed <= 0) return 0;
  int64_t scaled = processed * 100;
  int64_t q = scaled / total, r = scaled % total;
  if (2 * r > total || (2 * r == total && (q & 1))) ++q;
  return int(q);
}

bool TBackupFile::Restore(const std::string& archivePath, const std::string& destination) {
  // One extraction at a time: a handler starting another would pull the open volume
  // and the member state from under the running one.
  if (busy_) return false;
  errorCode_ = 0;
  filesWritten_ = 0;
  processed_ = 0;
  totalSize_ = 0;
  continue_ = true;
  bool fromStream = archivePath == kStreamPath;
  if (fromStream ? Stream == nullptr : !files_.FileExists(archivePath)) return false;

  BusyScope busy(busy_);
  archivePath_ = archivePath;
  destination_ = destination.empty() ? destination : WithTrailing(destination, '\\');
  volumeNumber_ = 1;
  ownedVolume_.reset();
  if (fromStream) {
    SetVolume(Stream);
  } else {
    ownedVolume_ = files_.OpenRead(archivePath);
    SetVolume(ownedVolume_.get());
  }
  if (!input_) {
    readAhead_ = std::make_unique<unsigned char[]>(kReadAhead);
    input_ = std::make_unique<unsigned char[]>(kArchiveMaxCompressedBlock);
    output_ = std::make_unique<unsigned char[]>(kArchiveBlockSize);
  }
  try {
    ReadHeader();
    write_ = true;
    haveMember_ = false;
    target_.clear();
    while (continue_) {
      int32_t length = ReadStructureInt32();
      if (length == 0) break;
      if (length < 0) continue;
      if (length > kMaxArchiveNameLength) throw ArchiveError(kErrInvalidArchiveType);
      std::string name(size_t(length), '\0');
      if (!ReadExact(name.data(), name.size())) throw ArchiveError(kErrCannotReadArchive);
      if (StartsWith(name, kVolumeMarker))
        SwitchVolume(name);
      else
        RestoreEntry(name);
    }
  } catch (...) {
    ownedVolume_.reset();
    SetVolume(nullptr);
    throw;
  }
  ownedVolume_.reset();
  SetVolume(nullptr);

  if (OnProgress) OnProgress(*this, std::string(), 100, continue_);
  busy_ = false;
  if (errorCode_ != kErrNone) Report();
  return errorCode_ == kErrNone && continue_;
}

void TBackupFile::ReadHeader() {
  if (!volume_) throw ArchiveError(kErrCannotReadArchive);
  int32_t titleLength = 0, reserved = 0;
  // The title is never used: passed over, whatever its declared length.
  if (!ReadInt32(titleLength) || titleLength < 0 || !SkipBytes(uint64_t(titleLength)) ||
      !ReadInt32(totalSize_) || !ReadInt32(reserved))
    throw ArchiveError(kErrCannotReadArchive);
}

void TBackupFile::RestoreEntry(const std::string& name) {
  int32_t stored = ReadStructureInt32();
  std::string target = TargetPath(name);
  bool write;
  if (name == kFileListName) {
    write = false;
  } else {
    write = Decide(target, stored);
    if (OnRestoreFile) OnRestoreFile(*this, target, stored, write);
  }
  if (write) {
    std::string folder = FolderOf(target);
    if (!folder.empty() && !files_.DirectoryExists(folder)) {
      files_.CreateDirectories(folder);
      if (!files_.DirectoryExists(folder)) write = false;
    }
  }
  target_ = target;
  storedTime_ = stored;
  write_ = write;
  haveMember_ = true;
  if (write)
    WriteMember(false, Magic::Records);
  else
    DecodeSection(nullptr, Magic::Raises);
}

std::string TBackupFile::TargetPath(const std::string& name) const {
  if (destination_.empty()) return name;
  if (!RestoreFullPath) return destination_ + FileNameOf(name);
  std::string relative = name.size() > 3 ? name.substr(3) : std::string();
  // Never outside the destination: such a member gets a target that cannot be created.
  if (EscapesFolder(relative)) return destination_;
  return destination_ + relative;
}

bool TBackupFile::Decide(const std::string& target, int32_t stored) const {
  if (RestoreMode == rmAll) return true;
  auto found = files_.Find(target);
  bool exists = found && !found->IsDirectory();
  bool newer = !exists || stored > int32_t(found->dosTime);
  switch (RestoreMode) {
    case rmAll: break;
    case rmNoOverwrite: return !exists;
    case rmNewer: return newer;
    case rmExisting: return exists;
    case rmExistingNewer: return exists && newer;
  }
  return true;
}

void TBackupFile::WriteMember(bool append, Magic magic) {
  std::unique_ptr<platform::OutputFile> out = append ? files_.OpenAppend(target_) : files_.OpenWrite(target_);
  if (!out) {
    Record(kErrCannotReadFile);
    return;
  }
  if (DecodeSection(out.get(), magic) && !append) ++filesWritten_;
  std::string name = target_;
  if (OnFileRestored) OnFileRestored(*this, name, *out);
  if (!out->Close()) Record(kErrCannotReadFile);
  // After closing: closing a written file would stamp it with the current time.
  files_.SetDosTime(target_, uint32_t(storedTime_));
}

bool TBackupFile::DecodeSection(platform::OutputFile* out, Magic magic) {
  bool skipping = out == nullptr;
  bool raises = skipping || magic == Magic::Raises;
  char found[4];
  if (!ReadExact(found, sizeof found)) {
    if (raises) throw ArchiveError(kErrCannotReadArchive);
    Record(kErrCannotReadFile);
    return false;
  }
  if (std::memcmp(found, kArchiveMagic, sizeof found) != 0) {
    if (raises) throw ArchiveError(kErrInvalidArchiveType);
    Record(kErrCannotReadFile);
    return false;
  }
  while (continue_) {
    int32_t length;
    if (!ReadInt32(length)) {
      if (skipping) throw ArchiveError(kErrCannotReadArchive);
      Record(kErrCannotReadFile);
      return false;
    }
    size_t decoded = 0;
    if (length != 0 && !DecodeBlock(length, out, decoded)) return false;
    if (ProcessMessages) ProcessMessages();
    if (!skipping) {
      processed_ += int64_t(decoded);
      if (OnProgress) OnProgress(*this, target_, Percent(processed_, totalSize_), continue_);
    }
    if (length == 0) return true;
  }
  return true;
}

bool TBackupFile::DecodeBlock(int32_t length, platform::OutputFile* out, size_t& decoded) {
  bool stored = length < 0;
  uint64_t size = stored ? uint64_t(-int64_t(length)) : uint64_t(length);
  if (size > (stored ? kArchiveBlockSize : kArchiveMaxCompressedBlock)) {
    if (!out) throw ArchiveError(kErrInvalidArchiveType);
    Record(kErrCannotReadFile);
    return false;
  }
  if (!out) {
    if (!SkipBytes(size)) throw ArchiveError(kErrCannotReadArchive);
    return true;
  }
  unsigned char* data = stored ? output_.get() : input_.get();
  if (!ReadExact(data, size_t(size))) {
    Record(kErrCannotReadFile);
    return false;
  }
  if (stored) {
    decoded = size_t(size);
  } else {
    if (!inflater_) inflater_ = std::make_unique<ArchiveInflater>();
    if (!inflater_->Inflate(data, size_t(size), output_.get(), kArchiveBlockSize, decoded)) {
      Record(kErrCompression);
      return false;
    }
  }
  if (decoded > 0 && !out->Write(output_.get(), decoded)) {
    Record(kErrCannotReadFile);
    return false;
  }
  return true;
}

void TBackupFile::SwitchVolume(const std::string& marker) {
  std::string digits = marker.substr(kVolumeMarker.size(), 3);
  int number = 0;
  for (char c : digits) number = number * 10 + (c - '0');
  bool wellFormed = digits.size() == 3 && digits.find_first_not_of("0123456789") == std::string::npos;
  // Volumes only go forward; a marker pointing back would read the same volumes forever.
  if (!wellFormed || number <= volumeNumber_) throw ArchiveError(kErrInvalidArchiveType);

  ownedVolume_.reset();
  SetVolume(nullptr);
  std::string next = ArchiveVolumePath(archivePath_, digits);
  do {
    if (OnNeedDisk) {
      OnNeedDisk(*this, uint16_t(number), continue_);
    } else {
      continue_ = ConfirmDisk && ConfirmDisk(Format(kDiskPrompt, IntToStr(number).c_str()));
    }
  } while (continue_ && !files_.FileExists(next));
  if (!continue_) return;

  ownedVolume_ = files_.OpenRead(next);
  SetVolume(ownedVolume_.get());
  if (!volume_) throw ArchiveError(kErrCannotReadArchive);
  volumeNumber_ = number;
  if (write_ && haveMember_)
    WriteMember(true, Magic::Raises);
  else
    DecodeSection(nullptr, Magic::Raises);
}

void TBackupFile::SetVolume(platform::InputFile* volume) {
  volume_ = volume;
  readPos_ = readEnd_ = 0;
}

bool TBackupFile::ReadExact(void* buffer, size_t size) {
  auto p = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    if (readPos_ == readEnd_) {
      int64_t n = volume_->Read(readAhead_.get(), kReadAhead);
      if (n <= 0) return false;
      readPos_ = 0;
      readEnd_ = size_t(n);
    }
    size_t take = std::min(size, readEnd_ - readPos_);
    std::memcpy(p, readAhead_.get() + readPos_, take);
    readPos_ += take;
    p += take;
    size -= take;
  }
  return true;
}

bool TBackupFile::SkipBytes(uint64_t count) {
  size_t buffered = readEnd_ - readPos_;
  if (count <= buffered) {
    readPos_ += size_t(count);
    return true;
  }
  readPos_ = readEnd_;
  return volume_->Skip(count - buffered);
}

bool TBackupFile::ReadInt32(int32_t& value) {
  unsigned char b[4];
  if (!ReadExact(b, sizeof b)) return false;
  value = GetInt32(b);
  return true;
}

int32_t TBackupFile::ReadStructureInt32() {
  int32_t value;
  if (!ReadInt32(value)) throw ArchiveError(kErrCannotReadArchive);
  return value;
}

void TBackupFile::Record(int code) {
  if (errorCode_ == kErrNone) errorCode_ = code;
  continue_ = false;
}

void TBackupFile::Report() {
  const char* text = ArchiveErrorText(errorCode_);
  if (OnError)
    OnError(*this, errorCode_, text);
  else if (ShowError)
    ShowError(text);
}

}  // namespace ostravel::engine
