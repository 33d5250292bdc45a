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
class RollbackRun {
 public:
  RollbackRun(RunContext& ctx, const UninstallFrame& frame, RecordBlocks blocks)
      : ctx_(ctx), frame_(frame), blocks_(std::move(blocks)), record_(ctx.services.process.installRecordPath) {
    newest_ = ActionsOf(blocks_.newest);
    for (const UninstallAction& a : ActionsOf(blocks_.older)) older_.insert(ActionKey(a.kind, a.value));
    backups_ = BackupsOf(blocks_.newest, record_);
    for (const FileBackup& b : backups_.files) fileBackups_.emplace(UpperCase(b.target), b.copy);
    for (const ValueBackup& b : backups_.values) valueBackups_.emplace(b.value, b.data);
  }

  void Run() {
    if (newest_.empty() && backups_.empty())
      LogQuietly(ctx_, "Rollback: the newest installation lists nothing; only its block is removed");
    if (!NothingLocked()) return;
    stillUsed_ = ReleaseSharedFiles(ctx_, newest_);
    ctx_.progress.SetRange(0, int(newest_.size() + backups_.files.size()));
    ctx_.progress.SetPosition(0);
    ctx_.progress.SetBaseOffset(0);
    Phase(UninstallKind::File, [this](const std::string& v) { UndoFile(v); });
    Phase(UninstallKind::ReplacedFile, [this](const std::string& v) { UndoReplacedFile(v); });
    Phase(UninstallKind::Shortcut, [this](const std::string& v) { UndoFile(v); });
    RestoreOtherBackups();
    Phase(UninstallKind::RegistryValue, [this](const std::string& v) { UndoValue(v); });
    Phase(UninstallKind::RegistryKey, [this](const std::string& v) {
      if (!OlderHas(UninstallKind::RegistryKey, v)) RemoveRecordedKey(ctx_, v);
    });
    // Without the shortened record the block would be undone a second time: its
    // backups stay for that, and the customer is told.
    ctx_.services.machine.files.SetAttributes(record_, platform::kAttrArchive);
    const std::string text = RecordText(blocks_.older);
    if (!ctx_.services.machine.files.ReplaceFile(record_, text)) {
      ctx_.errorJump(kRecordNotRewritten + record_);
      ctx_.end = RunEnd::Stopped;
      return;
    }
    KeepRecordDigest(ctx_.services.machine.registry, record_, text);
    RemoveBackups(ctx_, backups_, record_, frame_.texts.removeBackup);
    std::vector<UninstallAction> folders;
    for (const UninstallAction& a : newest_)
      if (a.kind == UninstallKind::Folder && !OlderHas(a.kind, a.value)) folders.push_back(a);
    RemoveRecordedFolders(ctx_, folders);
    ctx_.end = RunEnd::Success;
  }

 private:
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
    for (const FileBackup& b : backups_.files) test(b.target);
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
      Restore(b.target, b.copy, kStays);
      ctx_.progress.SetPosition(ctx_.progress.Position() + 1);
    }
  }

  static constexpr const char* kRemoved = "the file is removed as a full uninstall would";
  static constexpr const char* kStays = "the file stays as it is";

  bool Restore(const std::string& target, const std::string& copy, const char* otherwise) {
    platform::FileSystem& files = ctx_.services.machine.files;
    const auto info = files.Find(copy);
    if (info && !info->IsDirectory()) {
      if (files.FileExists(target)) files.SetAttributes(target, platform::kAttrArchive);
      if (files.CopyFile(copy, target, true)) {
        files.SetDosTime(target, info->dosTime);
        return true;
      }
    }
    LogQuietly(ctx_, "Rollback: the backup " + copy + " of " + target + " is " + (info ? "unreadable" : "missing") +
                         "; " + otherwise);
    return false;
  }

  void UndoValue(const std::string& value) {
    auto backup = valueBackups_.find(value);
    if (backup != valueBackups_.end()) {
      std::string rest = value;
      const std::string rootName = NextToken(rest, ';');
      const std::string subKey = NextToken(rest, ';');
      const auto root = platform::RootKeyFromName(rootName);
      if (root && ctx_.services.machine.registry.KeyExists(*root, subKey) &&
          ctx_.services.machine.registry.WriteString(*root, subKey, rest, backup->second))
        return;
    }
    if (!OlderHas(UninstallKind::RegistryValue, value)) RemoveRecordedValue(ctx_, value);
  }

  RunContext& ctx_;
  const UninstallFrame& frame_;
  RecordBlocks blocks_;
  const std::string record_;
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
  RollbackRun(ctx, frame, std::move(blocks)).Run();
}

}  // namespace ostravel::engine
