#include "installer/engine/archive_backup_file.h"

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

}  // namespace

TBackupFile::TBackupFile(platform::FileSystem& files) : files_(files), input_(files) {}

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
  error_.Clear();
  filesWritten_ = 0;
  folderMade_.clear();
  processed_ = 0;
  totalSize_ = 0;
  continue_ = true;
  bool fromStream = archivePath == kStreamPath;
  if (fromStream ? Stream == nullptr : !files_.FileExists(archivePath)) return false;

  BusyScope busy(busy_);
  destination_ = destination.empty() ? destination : WithTrailing(destination, '\\');
  if (!compressed_) {
    compressed_ = std::make_unique<unsigned char[]>(kArchiveMaxCompressedBlock);
    decoded_ = std::make_unique<unsigned char[]>(kArchiveBlockSize);
  }
  try {
    if (!input_.Open(archivePath, fromStream ? Stream : nullptr)) throw ArchiveError(kErrCannotReadArchive);
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
      if (!input_.ReadExact(name.data(), name.size())) throw ArchiveError(kErrCannotReadArchive);
      if (StartsWith(name, kVolumeMarker))
        SwitchVolume(name);
      else
        RestoreEntry(name);
    }
  } catch (...) {
    input_.Close();
    throw;
  }
  input_.Close();

  if (OnProgress) OnProgress(*this, std::string(), 100, continue_);
  busy_ = false;
  if (error_.Any()) Report();
  return !error_.Any() && continue_;
}

void TBackupFile::ReadHeader() {
  int32_t titleLength = 0, reserved = 0;
  // The title is never used: passed over, whatever its declared length.
  if (!input_.ReadInt32(titleLength) || titleLength < 0 || !input_.Skip(uint64_t(titleLength)) ||
      !input_.ReadInt32(totalSize_) || !input_.ReadInt32(reserved))
    throw ArchiveError(kErrCannotReadArchive);
}

void TBackupFile::RestoreEntry(const std::string& name) {
  int32_t stored = ReadStructureInt32();
  std::string target = MemberTargetPath(destination_, RestoreFullPath, name);
  bool write;
  if (name == kFileListName) {
    write = false;
  } else {
    write = Decide(target, stored);
    if (OnRestoreFile) OnRestoreFile(*this, target, stored, write);
  }
  if (write) {
    std::string folder = MemberFolder(target);
    // True for a folder already there too: one question for the common case.
    if (!folder.empty() && folder != folderMade_ && !files_.CreateDirectories(folder)) write = false;
    if (write) folderMade_ = folder;
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

bool TBackupFile::Decide(const std::string& target, int32_t stored) const {
  if (RestoreMode == rmAll) return true;
  auto found = files_.Find(target);
  std::optional<int32_t> existing;
  if (found && !found->IsDirectory()) existing = int32_t(found->dosTime);
  return RestoreDecision(RestoreMode, existing, stored);
}

void TBackupFile::WriteMember(bool append, Magic magic) {
  MemberFile out(files_, target_, append);
  if (!out.IsOpen()) {
    Record(kErrCannotReadFile);
    return;
  }
  if (DecodeSection(&out, magic) && !append) ++filesWritten_;
  std::string name = target_;
  if (OnFileRestored) OnFileRestored(*this, name, out.Stream());
  if (!out.Close(storedTime_)) Record(kErrCannotReadFile);
}

bool TBackupFile::DecodeSection(MemberFile* out, Magic magic) {
  bool skipping = out == nullptr;
  bool raises = skipping || magic == Magic::Raises;
  char found[4];
  if (!input_.ReadExact(found, sizeof found)) {
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
    if (!input_.ReadInt32(length)) {
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

bool TBackupFile::DecodeBlock(int32_t length, MemberFile* out, size_t& decoded) {
  bool stored = length < 0;
  uint64_t size = stored ? uint64_t(-int64_t(length)) : uint64_t(length);
  if (size > (stored ? kArchiveBlockSize : kArchiveMaxCompressedBlock)) {
    if (!out) throw ArchiveError(kErrInvalidArchiveType);
    Record(kErrCannotReadFile);
    return false;
  }
  if (!out) {
    if (!input_.Skip(size)) throw ArchiveError(kErrCannotReadArchive);
    return true;
  }
  unsigned char* data = stored ? decoded_.get() : compressed_.get();
  if (!input_.ReadExact(data, size_t(size))) {
    Record(kErrCannotReadFile);
    return false;
  }
  if (stored) {
    decoded = size_t(size);
  } else {
    if (!inflater_) inflater_ = std::make_unique<ArchiveInflater>();
    if (!inflater_->Inflate(data, size_t(size), decoded_.get(), kArchiveBlockSize, decoded)) {
      Record(kErrCompression);
      return false;
    }
  }
  if (decoded > 0 && !out->Write(decoded_.get(), decoded)) {
    Record(kErrCannotReadFile);
    return false;
  }
  return true;
}

void TBackupFile::SwitchVolume(const std::string& marker) {
  if (!input_.NextVolume(marker, [this](int number) { return AskForDisk(number); })) return;
  if (write_ && haveMember_)
    WriteMember(true, Magic::Raises);
  else
    DecodeSection(nullptr, Magic::Raises);
}

bool TBackupFile::AskForDisk(int number) {
  if (OnNeedDisk)
    OnNeedDisk(*this, uint16_t(number), continue_);
  else
    continue_ = ConfirmDisk && ConfirmDisk(Format(kDiskPrompt, IntToStr(number).c_str()));
  return continue_;
}

int32_t TBackupFile::ReadStructureInt32() {
  int32_t value;
  if (!input_.ReadInt32(value)) throw ArchiveError(kErrCannotReadArchive);
  return value;
}

void TBackupFile::Record(int code) {
  error_.Record(code);
  continue_ = false;
}

void TBackupFile::Report() {
  if (OnError)
    OnError(*this, error_.Code(), error_.Text());
  else if (ShowError)
    ShowError(error_.Text());
}

}  // namespace ostravel::engine
