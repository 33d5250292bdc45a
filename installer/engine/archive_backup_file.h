#pragma once
// TBackupFile: reads a package archive (one file or several volumes) and writes its
// members to disk. Which members are written, and where, its events decide; the
// installer binds them, the component itself knows nothing of setup scripts.
// This file is the format and its events; the input over the volumes, the path
// policy and the member files are archive_input.h, archive_paths.h and
// archive_member_file.h.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "installer/engine/archive_format.h"
#include "installer/engine/archive_input.h"
#include "installer/engine/archive_member_file.h"
#include "installer/engine/archive_paths.h"
#include "installer/platform/platform.h"

namespace ostravel::engine {

enum TBackupMode { bmAll, bmIncremental };
enum TCompressionLevel { clFastest, clNone, clDefault, clMax };

class TBackupFile;
class ArchiveInflater;

// Sender, Filename, Percent (0..100), var Continue.
using TProgressEvent = std::function<void(TBackupFile& sender, const std::string& filename, int percent, bool& cont)>;
// Sender, DiskID, var Continue.
using TNeedDiskEvent = std::function<void(TBackupFile& sender, uint16_t diskId, bool& cont)>;
// Sender, var Filename, FA (the stored date-time), var DoRestore.
using TRestoreFileEvent = std::function<void(TBackupFile& sender, std::string& filename, int32_t fa, bool& doRestore)>;
// Sender, var Filename, Stream (the open target file).
using TFileRestoredEvent =
    std::function<void(TBackupFile& sender, std::string& filename, platform::OutputFile& stream)>;
// Sender, Error, ErrString.
using TBackupErrorEvent = std::function<void(TBackupFile& sender, int error, const std::string& errString)>;

class TBackupFile {
 public:
  // Archive path that reads from `Stream` instead of a file.
  static constexpr const char* kStreamPath = ":STREAM";
  static constexpr const char* kDiskPrompt = "Please insert disk %s and click OK to continue.";

  explicit TBackupFile(platform::FileSystem& files);
  ~TBackupFile();
  TBackupFile(const TBackupFile&) = delete;
  TBackupFile& operator=(const TBackupFile&) = delete;

  // ---- published properties ----
  std::string Version() const { return "5.10"; }
  void SetVersion(const std::string&) {}
  std::string BackupTitle;
  TBackupMode BackupMode() const { return backupMode_; }
  void SetBackupMode(TBackupMode mode);
  TCompressionLevel CompressionLevel = clDefault;
  TRestoreMode RestoreMode = rmAll;
  int32_t MaxSize = 0;
  bool SetArchiveFlag = false;
  TProgressEvent OnProgress;
  TNeedDiskEvent OnNeedDisk;
  TRestoreFileEvent OnRestoreFile;
  TFileRestoredEvent OnFileRestored;
  TBackupErrorEvent OnError;
  bool RestoreFullPath = false;
  bool SaveFileID = false;

  // Read by Restore(":STREAM", ...); the caller owns it and it stays open.
  platform::InputFile* Stream = nullptr;

  // The boxes shown when no handler is set, and the message pump run after every
  // block; the window side plugs them in. Without ConfirmDisk a disk prompt counts
  // as cancelled.
  std::function<bool(const std::string& text)> ConfirmDisk;  // OK and Cancel; true for OK
  std::function<void(const std::string& text)> ShowError;
  std::function<void()> ProcessMessages;

  // Extracts one archive (volume 1, or ":STREAM", read from the stream's current
  // position; afterwards the stream may stand anywhere up to its end). False when the archive does not exist, an
  // extraction is already running, an event or the user stopped it, or an error was recorded. Throws ArchiveError for
  // an unreadable archive structure.
  bool Restore(const std::string& archivePath, const std::string& destination);

  // ---- run-time state ----
  bool Busy() const { return busy_; }
  int ErrorCode() const { return error_.Code(); }
  int FilesWritten() const { return filesWritten_; }
  int64_t ProcessedBytes() const { return processed_; }
  int32_t TotalSize() const { return totalSize_; }
  const std::string& CurrentFile() const { return target_; }

  // round(processed * 100 / total), halves to even, kept within 0..100; an archive
  // that declares no bytes is complete.
  static int Percent(int64_t processed, int32_t total);

 private:
  enum class Magic { Records, Raises };
  void ReadHeader();
  void RestoreEntry(const std::string& name);
  void SwitchVolume(const std::string& marker);
  bool AskForDisk(int number);
  bool Decide(const std::string& target, int32_t stored) const;
  void WriteMember(bool append, Magic magic);
  bool DecodeSection(MemberFile* out, Magic magic);
  bool DecodeBlock(int32_t length, MemberFile* out, size_t& decoded);
  int32_t ReadStructureInt32();
  void Record(int code);
  void Report();

  platform::FileSystem& files_;
  TBackupMode backupMode_ = bmAll;

  // One extraction.
  ArchiveInput input_;
  std::string destination_;
  std::string target_;
  int32_t storedTime_ = 0;
  bool write_ = true;
  bool haveMember_ = false;
  int filesWritten_ = 0;
  // The folder the previous member went to, known to exist: members come folder by
  // folder, so most need no look at the disk.
  std::string folderMade_;
  int64_t processed_ = 0;
  int32_t totalSize_ = 0;
  bool busy_ = false;
  bool continue_ = true;
  ExtractionError error_;

  std::unique_ptr<ArchiveInflater> inflater_;
  std::unique_ptr<unsigned char[]> compressed_;  // one block as stored
  std::unique_ptr<unsigned char[]> decoded_;     // one block decoded
};

}  // namespace ostravel::engine
