#include <map>
#include <set>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/backups.h"
#include "installer/engine/install_run.h"
#include "installer/engine/record_blocks.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/shared_files.h"
#include "installer/engine/uninstall_kinds.h"
#include "installer/engine/uninstall_run.h"

namespace ostravel::engine {

const char* const kRollingBack = "Rolling back the last installation ...";

namespace {

const char* const kRecordNotRewritten =
    "A legutóbbi telepítés visszavonása után az eltávolítási napló nem írható felül: ";

std::string ActionKey(UninstallKind kind, const std::string& value) {
  return IntToStr(int(kind)) + ":" + UpperCase(value);
}

// Undoes the newest block of a record that holds older ones.
// Undoing a failed run of the installer itself differs in three ways: it is
// best effort (a locked file must not keep the rest in place), it logs each thing
// it puts back or cannot, and the record goes when this block was all it held.
class RollbackRun {
 public:
  RollbackRun(RunContext& ctx, const UninstallFrame& frame, RecordBlocks blocks, std::string record, bool failedRun)
      : ctx_(ctx), frame_(frame), blocks_(std::move(blocks)), record_(std::move(record)), failedRun_(failedRun) {
    newest_ = ActionsOf(blocks_.newest);
    for (const UninstallAction& a : ActionsOf(blocks_.older)) older_.insert(ActionKey(a.kind, a.value));
    backups_ = BackupsOf(blocks_.newest, record_);
    for (const FileBackup& b : backups_.files) fileBackups_.emplace(UpperCase(b.target), b.copy);
    for (const ValueBackup& b : backups_.values) valueBackups_.emplace(b.value, b.data);
  }

  void Run() {
    if (newest_.empty() && backups_.empty())
      LogQuietly(ctx_, "Rollback: the newest installation lists nothing; only its block is removed");
    if (!failedRun_ && !NothingLocked()) return;
    stillUsed_ = ReleaseSharedFiles(ctx_, newest_);
    ctx_.progress.SetRange(0, int(newest_.size() + backups_.files.size()));
    ctx_.progress.SetPosition(0);
    ctx_.progress.SetBaseOffset(0);
    Phase(UninstallKind::File, [this](const std::string& v) { UndoFile(v); });
    Phase(UninstallKind::ReplacedFile, [this](const std::string& v) { UndoReplacedFile(v); });
    Phase(UninstallKind::Shortcut, [this](const std::string& v) { UndoFile(v); });
    RestoreOtherBackups();
    Phase(UninstallKind::RegistryValue, [this](const std::string& v) { UndoValue(v); });
    if (failedRun_) RestoreOtherValues();
    Phase(UninstallKind::RegistryKey, [this](const std::string& v) {
      if (OlderHas(UninstallKind::RegistryKey, v)) return;
      RemoveRecordedKey(ctx_, v);
      Note("removed the registry key ", v, !KeyExists(v));
    });
    // Without the shortened record the block would be undone a second time: its
    // backups stay for that, and the customer is told.
    if (!ShortenRecord()) {
      if (failedRun_) {
        Note("shortened the installation record ", record_, false);
        return;
      }
      ctx_.errorJump(kRecordNotRewritten + record_);
      ctx_.end = RunEnd::Stopped;
      return;
    }
    RemoveBackups(ctx_, backups_, record_, frame_.texts.removeBackup);
    std::vector<UninstallAction> folders;
    for (const UninstallAction& a : newest_)
      if (a.kind == UninstallKind::Folder && !OlderHas(a.kind, a.value)) folders.push_back(a);
    RemoveRecordedFolders(ctx_, folders);
    for (const UninstallAction& a : folders)
      Note("removed the folder ", a.value, !ctx_.services.machine.files.DirectoryExists(a.value));
    if (!failedRun_) ctx_.end = RunEnd::Success;
  }

  // Everything the block changed is back as it was.
  bool Complete() const { return complete_; }

 private:
  bool ShortenRecord() {
    platform::FileSystem& files = ctx_.services.machine.files;
    files.SetAttributes(record_, platform::kAttrArchive);
    if (failedRun_ && blocks_.older.empty()) {
      if (!files.DeleteFile(record_)) return false;
      ForgetRecordDigest(ctx_.services.machine.registry, record_);
      return true;
    }
    return ReplaceRecord(files, ctx_.services.machine.registry, record_, RecordText(blocks_.older));
  }

  // A line of the diagnostic log for each thing a failed run's undo does.
  void Note(const char* what, const std::string& value, bool done) {
    if (!failedRun_) return;
    complete_ = complete_ && done;
    LogQuietly(ctx_, std::string(done ? "Undo: " : "Undo: could not be ") + (done ? what : Passive(what)) + value);
  }
  static std::string Passive(const char* what) {
    std::string text = what;  // "put back the file " -> "put back: the file "
    const size_t at = text.find(" the ");
    return text.substr(0, at) + ":" + text.substr(at);
  }

  bool KeyExists(std::string value) const {
    const auto root = platform::RootKeyFromName(NextToken(value, ';'));
    return root && ctx_.services.machine.registry.KeyExists(*root, value);
  }

  bool ValueExists(std::string value) const {
    const auto root = platform::RootKeyFromName(NextToken(value, ';'));
    const std::string subKey = NextToken(value, ';');
    std::string old;
    return root && ctx_.services.machine.registry.KeyExists(*root, subKey) &&
           ctx_.services.machine.registry.ReadString(*root, subKey, value, old) != platform::RegRead::Missing;
  }

  bool OlderHas(UninstallKind kind, const std::string& value) const {
    return older_.count(ActionKey(kind, value)) != 0;
  }

  template <typename Fn>
  void Phase(UninstallKind kind, Fn undo) {
    std::set<std::string> done;
    for (const UninstallAction& a : newest_) {
      if (a.kind != kind || !done.insert(UpperCase(a.value)).second) continue;
      undo(a.value);
      ctx_.progress.SetPosition(ctx_.progress.Position() + 1);
      ctx_.progress.ProcessMessages();
    }
  }

  // The files the rollback will write or delete, tested before anything changes.
  bool NothingLocked() {
    std::vector<std::string> locked;
    std::set<std::string> seen;
    auto test = [&](const std::string& path) {
      if (seen.insert(UpperCase(path)).second && HeldOpen(ctx_.services.machine.files, path)) locked.push_back(path);
    };
    for (const UninstallAction& a : newest_)
      if ((a.kind == UninstallKind::File || a.kind == UninstallKind::Shortcut) &&
          (fileBackups_.count(UpperCase(a.value)) || !OlderHas(a.kind, a.value)))
        test(a.value);
    for (const FileBackup& b : backups_.files)
      if (!Running(b.target)) test(b.target);
    if (locked.empty()) return true;
    ctx_.finish.showErrorLink = true;
    ctx_.finish.errorLinkUrl = kLockedFilesArticleUrl;
    ctx_.errorJump(LockedFilesMessage(locked));
    ctx_.end = RunEnd::Stopped;
    return false;
  }

  // Back from its backup when it replaced an older file; kept when an older
  // installation wrote it too and this one kept no backup; otherwise deleted.
  void UndoFile(const std::string& path) {
    auto backup = fileBackups_.find(UpperCase(path));
    if (backup != fileBackups_.end()) {
      if (!Restore(path, backup->second, kRemoved)) RemoveRecordedFile(ctx_, path);
      restored_.insert(backup->first);
    } else if (!OlderHas(UninstallKind::File, path) && !OlderHas(UninstallKind::Shortcut, path) &&
               !stillUsed_.count(UpperCase(path))) {
      RemoveRecordedFile(ctx_, path);
      Note("removed the file ", path, !ctx_.services.machine.files.FileExists(path));
    }
  }

  // A file that was there before the block: back from its backup when there is
  // one. Without that it stays, unless an older installation of the record wrote
  // it, which a backup that cannot be read leaves as a full uninstall would.
  void UndoReplacedFile(const std::string& path) {
    auto backup = fileBackups_.find(UpperCase(path));
    if (backup == fileBackups_.end()) return;
    restored_.insert(backup->first);
    const bool olderWrote = OlderHas(UninstallKind::File, path);
    if (!Restore(path, backup->second, olderWrote ? kRemoved : kStays) && olderWrote) RemoveRecordedFile(ctx_, path);
  }

  // Backups of files the block did not record as written (the uninstaller's script
  // copy): put back when they can be, left as they are otherwise.
  void RestoreOtherBackups() {
    for (const FileBackup& b : backups_.files) {
      if (!restored_.insert(UpperCase(b.target)).second) continue;
      // The shared uninstaller undoing a run cannot put its own older copy back while
      // it runs; the newer one serves every record as well.
      if (Running(b.target)) {
        LogQuietly(ctx_, "Rollback: the running uninstaller stays as it is: " + b.target);
        continue;
      }
      Restore(b.target, b.copy, kStays);
      ctx_.progress.SetPosition(ctx_.progress.Position() + 1);
    }
  }

  // Values backed up that the block does not list as written: a run killed before
  // its record caught up may have written them.
  void RestoreOtherValues() {
    std::set<std::string> written;
    for (const UninstallAction& a : newest_)
      if (a.kind == UninstallKind::RegistryValue) written.insert(a.value);
    for (const auto& [value, data] : valueBackups_) {
      if (written.count(value)) continue;
      std::string rest = value;
      const auto root = platform::RootKeyFromName(NextToken(rest, ';'));
      const std::string subKey = NextToken(rest, ';');
      std::string now;
      platform::Registry& reg = ctx_.services.machine.registry;
      if (!root || (reg.ReadString(*root, subKey, rest, now) == platform::RegRead::Ok && now == data)) continue;
      Note("put back the registry value ", value,
           reg.KeyExists(*root, subKey) && reg.WriteString(*root, subKey, rest, data));
    }
  }

  bool Running(const std::string& path) const { return SameText(path, ctx_.services.process.programPath); }

  static constexpr const char* kRemoved = "the file is removed as a full uninstall would";
  static constexpr const char* kStays = "the file stays as it is";

  bool Restore(const std::string& target, const std::string& copy, const char* otherwise) {
    platform::FileSystem& files = ctx_.services.machine.files;
    const auto info = files.Find(copy);
    if (info && !info->IsDirectory()) {
      const auto was = files.Find(target);
      // A file the failed run never got to replace needs nothing put back but the
      // attributes the run took off; left as it is, it keeps its time to the second.
      if (failedRun_ && was && NeverReplaced(target, copy, *was, *info)) {
        if (was->attributes != info->attributes) files.SetAttributes(target, info->attributes);
        Note("kept (never replaced) the file ", target, true);
        return true;
      }
      if (was) files.SetAttributes(target, platform::kAttrArchive);
      if (files.CopyFile(copy, target, true)) {
        // The copy keeps the time to the second where the system copies it; the DOS
        // time would round it.
        const auto now = files.Find(target);
        if (!now || now->dosTime != info->dosTime) files.SetDosTime(target, info->dosTime);
        if (!now || now->attributes != info->attributes) files.SetAttributes(target, info->attributes);
        Note("put back the file ", target, true);
        return true;
      }
      if (was) files.SetAttributes(target, was->attributes);
    }
    Note("put back the file ", target, false);
    if (failedRun_ && info) return false;
    LogQuietly(ctx_, "Rollback: the backup " + copy + " of " + target + " is " + (info ? "unreadable" : "missing") +
                         "; " + otherwise);
    return false;
  }

  // The same size, time and bytes; a file a program holds open cannot be read, and
  // then its size and time tell (a write that began would have changed the time).
  bool NeverReplaced(const std::string& target, const std::string& copy, const platform::FileInfo& now,
                     const platform::FileInfo& backup) {
    if (now.size != backup.size || now.dosTime != backup.dosTime) return false;
    platform::FileSystem& files = ctx_.services.machine.files;
    std::string bytes, before;
    if (files.ReadFile(target, bytes) && files.ReadFile(copy, before)) return bytes == before;
    return HeldOpen(files, target);
  }

  void UndoValue(const std::string& value) {
    auto backup = valueBackups_.find(value);
    if (backup != valueBackups_.end()) {
      std::string rest = value;
      const std::string rootName = NextToken(rest, ';');
      const std::string subKey = NextToken(rest, ';');
      const auto root = platform::RootKeyFromName(rootName);
      const bool back = root && ctx_.services.machine.registry.KeyExists(*root, subKey) &&
                        ctx_.services.machine.registry.WriteString(*root, subKey, rest, backup->second);
      Note("put back the registry value ", value, back);
      if (back) return;
    }
    if (OlderHas(UninstallKind::RegistryValue, value)) return;
    RemoveRecordedValue(ctx_, value);
    Note("removed the registry value ", value, !ValueExists(value));
  }

  RunContext& ctx_;
  const UninstallFrame& frame_;
  RecordBlocks blocks_;
  const std::string record_;
  const bool failedRun_;
  bool complete_ = true;
  std::vector<UninstallAction> newest_;
  std::set<std::string> older_;  // ActionKey of every older action
  BlockBackups backups_;
  std::map<std::string, std::string> fileBackups_;   // upper-cased target -> copy
  std::map<std::string, std::string> valueBackups_;  // root;subkey;name -> old data
  std::set<std::string> restored_;                   // upper-cased targets
  std::set<std::string> stillUsed_;                  // upper-cased shared files others count
};

}  // namespace

void RunRollback(RunContext& ctx, const UninstallFrame& frame) {
  RecordBlocks blocks = SplitNewestBlock(frame.recordText);
  // With one installation there is nothing to go back to.
  if (blocks.older.empty()) {
    RunFullUninstall(ctx, frame);
    return;
  }
  ctx.progress.SetStatus(kRollingBack);
  ctx.progress.ProcessMessages();
  RollbackRun(ctx, frame, std::move(blocks), ctx.services.process.installRecordPath, false).Run();
}

bool UndoFailedRun(RunContext& ctx, const UninstallFrame& frame, const std::string& recordPath) {
  ctx.progress.SetStatus(kRollingBack);
  ctx.progress.ProcessMessages();
  RollbackRun run(ctx, frame, SplitNewestBlock(frame.recordText), recordPath, true);
  run.Run();
  return run.Complete();
}

}  // namespace ostravel::engine
