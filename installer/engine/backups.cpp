#include "installer/engine/backups.h"

#include <algorithm>
#include <set>

#include "base/cp1250.h"
#include "base/installer_error.h"
#include "base/text.h"
#include "installer/engine/finish_install.h"
#include "installer/engine/target_paths.h"
#include "installer/script/setup_script.h"

namespace ostravel::engine {

const char* const kBackupFailed =
    "A Telepítő nem tudta elmenteni egy lecserélendő fájl biztonsági másolatát, ezért egyetlen fájlt sem "
    "cserélt le.";

namespace {

std::string RecordPathOf(RunContext& ctx) {
  return ctx.services.variables.ExpandVariables(ctx.services.process.installRecordPath);
}

// The backups of one run, undone together when one of them fails.
class BackupSession {
 public:
  BackupSession(RunContext& ctx, std::string folder) : ctx_(ctx), folder_(std::move(folder)) {
    firstEntry_ = ctx.record.size();
    for (const model::InstallRecordEntry& e : ctx.record) Remember(e);
  }

  // The file at `target` is about to be replaced.
  void File(const std::string& target) {
    platform::FileSystem& files = ctx_.services.machine.files;
    const auto found = files.Find(target);
    if (!found || found->IsDirectory() || !handledFiles_.insert(UpperCase(target)).second) return;
    std::string copy;
    if (!MakeFolder() || !NextCopyPath(target, copy) || !files.CopyFile(target, copy, false)) Fail(target, copy);
    made_.push_back(copy);
    files.SetDosTime(copy, found->dosTime);  // a copy is stamped with the time of copying
    ctx_.record.push_back({model::RecordAction::BackupFile, FileBackupValue(target, copy)});
  }

  // The string value is about to be overwritten.
  void Value(const RegistryRecord& r) {
    std::string old;
    if (!r.root ||
        ctx_.services.machine.registry.ReadString(*r.root, r.subKey, r.valueName, old) != platform::RegRead::Ok)
      return;
    const std::string value = r.rootName + ";" + r.subKey + ";" + r.valueName;
    if (HasControlCharacters(value) || !handledValues_.insert(value).second) return;
    ctx_.record.push_back({model::RecordAction::BackupRegValue, ValueBackupValue(value, old)});
  }

 private:
  static bool HasControlCharacters(const std::string& text) {
    for (unsigned char c : text)
      if (c < 32) return true;
    return false;
  }

  // What this installation wrote or kept already is never taken for what was there.
  void Remember(const model::InstallRecordEntry& e) {
    std::string value = e.value;
    switch (e.kind) {
      case model::RecordAction::CopyFile:
      case model::RecordAction::ReplaceFile:
      case model::RecordAction::CloneFile:
      case model::RecordAction::CreateIcon:
        handledFiles_.insert(UpperCase(value));
        break;
      case model::RecordAction::BackupFile:
        handledFiles_.insert(UpperCase(value.substr(0, value.rfind('|'))));
        break;
      case model::RecordAction::WriteRegValue:
        handledValues_.insert(value);
        break;
      case model::RecordAction::BackupRegValue:
        handledValues_.insert(value.substr(0, value.rfind('|')));
        break;
      default:
        break;
    }
  }

  bool MakeFolder() {
    platform::FileSystem& files = ctx_.services.machine.files;
    if (files.DirectoryExists(folder_)) return true;
    createdRoot_ = !files.DirectoryExists(FolderOf(folder_));
    createdFolder_ = files.CreateDirectories(folder_);
    return createdFolder_;
  }

  // Numbered, so that files of the same name from different folders never meet;
  // the name stays for whoever looks into the folder.
  bool NextCopyPath(const std::string& target, std::string& copy) {
    for (;;) {
      const std::string number = Format("%05d", ++counter_);
      copy = folder_ + "\\" + number + "_" + FileNameOf(target);
      if (!IsUsableTargetPath(copy)) copy = folder_ + "\\" + number;
      if (!IsUsableTargetPath(copy)) return false;
      if (!ctx_.services.machine.files.Find(copy)) return true;
    }
  }

  [[noreturn]] void Fail(const std::string& target, const std::string& copy) {
    platform::FileSystem& files = ctx_.services.machine.files;
    const std::string error = files.LastErrorText();
    if (!copy.empty() && std::find(made_.begin(), made_.end(), copy) == made_.end()) files.DeleteFile(copy);
    for (const std::string& made : made_) files.DeleteFile(made);
    ctx_.record.resize(firstEntry_);
    if (createdFolder_) files.RemoveDirectory(folder_);
    if (createdRoot_) files.RemoveDirectory(FolderOf(folder_));
    throw InstallerError(std::string(kBackupFailed) + "\r\n\r\n" + target + "\r\n" + error + "\r\n\r\n" +
                         "Kérjük győződjön meg arról, hogy elegendő szabad hely van a(z) " + folder_ +
                         " mappát tároló lemezen, majd indítsa újra a Telepítőt!");
  }

  RunContext& ctx_;
  const std::string folder_;
  size_t firstEntry_ = 0;
  int counter_ = 0;
  bool createdFolder_ = false, createdRoot_ = false;
  std::vector<std::string> made_;
  std::set<std::string> handledFiles_;   // upper-cased paths
  std::set<std::string> handledValues_;  // root;subkey;name as recorded
};

// The targets the run will replace: files with their update flag whose member
// goes to them (the first record of a source name), the shortcuts of the icon list,
// the uninstaller's script copy and the shared uninstaller.
std::vector<std::string> ReplacedFiles(RunContext& ctx, const BackupCandidates& c) {
  platform::FileSystem& files = ctx.services.machine.files;
  std::vector<std::string> targets;
  for (const FileRecord& r : c.files.Records()) {
    if (!r.usableTarget || !r.Has(kFileUpdate) || !r.Has(kFileExists) || r.rule == kRuleNeverWrite) continue;
    if (c.files.FindBySourceName(r.sourceName) != &r) continue;
    const std::string target = NormalizeTargetPath(ctx.services.variables.ExpandVariables(r.targetPath));
    if (IsUsableTargetPath(target) && files.FileExists(target)) targets.push_back(target);
  }
  for (const ShortcutEntry& s : c.icons) {
    const std::string link = ShortcutPath(ctx.services.variables, s.placement, s.title);
    if (!link.empty() && files.FileExists(link)) targets.push_back(link);
  }
  // The shared uninstaller too: every product's uninstall starts it, and its copy
  // deletes it first.
  const std::string script = SharedScriptCopyPath(ctx.services.variables);
  const std::string program = FolderOf(FolderOf(script)) + "\\setup.exe";
  if (IsUsableTargetPath(script) && !SameText(script, ctx.services.process.sourceFolder + "setup.inf") &&
      files.FileExists(script))
    targets.push_back(script);
  if (IsUsableTargetPath(program) && !SameText(program, ctx.services.process.programPath) && files.FileExists(program))
    targets.push_back(program);
  return targets;
}

}  // namespace

bool BackupsWanted(RunContext& ctx, bool keepBackups) {
  return keepBackups && ctx.services.process.uninstallEnabled && !ctx.services.process.UninstallMode() &&
         IsUsableTargetPath(RecordPathOf(ctx));
}

void KeepBackups(RunContext& ctx, const BackupCandidates& c, const std::string& createBackupText, bool keepBackups) {
  if (!BackupsWanted(ctx, keepBackups)) return;
  const std::vector<std::string> targets = ReplacedFiles(ctx, c);
  if (!targets.empty()) {
    ctx.progress.SetStatus(createBackupText);
    ctx.progress.SetRange(0, int(targets.size()));
    ctx.progress.SetPosition(0);
    ctx.progress.SetBaseOffset(0);
    ctx.progress.ProcessMessages();
  }
  BackupSession session(ctx, BlockBackupFolder(RecordPathOf(ctx), ctx.choices.installStartTime));
  for (const std::string& target : targets) {
    session.File(target);
    ctx.progress.SetPosition(ctx.progress.Position() + 1);
    ctx.progress.ProcessMessages();
  }
  for (const RegistryRecord& r : c.registry)
    if (r.overwriteValue) session.Value(r);
}

void RemoveBackups(RunContext& ctx, const BlockBackups& backups, const std::string& recordPath,
                   const std::string& removeBackupText) {
  if (backups.files.empty()) return;
  platform::FileSystem& files = ctx.services.machine.files;
  ctx.progress.SetStatus(removeBackupText);
  ctx.progress.ProcessMessages();
  std::set<std::string> folders;
  for (const FileBackup& b : backups.files) {
    if (files.FileExists(b.copy)) {
      files.SetAttributes(b.copy, platform::kAttrArchive);
      files.DeleteFile(b.copy);
    }
    folders.insert(FolderOf(b.copy));
  }
  // Innermost first; a folder something else was put into stays.
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) files.RemoveDirectory(*it);
  const std::string root = BackupRoot(recordPath);
  if (files.DirectoryExists(root)) files.RemoveDirectory(root);
}

}  // namespace ostravel::engine
