#include "installer/engine/extraction.h"

#include <unordered_set>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/archive_backup_file.h"
#include "installer/engine/created_folders.h"
#include "installer/engine/disk_prompt.h"
#include "installer/engine/shared_files.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

bool CustomOrWeb(const RunContext& ctx) { return ctx.choices.customKind || ctx.choices.webUpdateKind; }

// The archive events of the main window, bound to one extraction run.
class ExtractionEvents {
 public:
  ExtractionEvents(RunContext& ctx, const FileList& list) : ctx_(ctx), list_(list), diskPrompt_(ctx) {}

  void Bind(TBackupFile& archive) {
    archive.RestoreMode = rmAll;
    archive.RestoreFullPath = false;
    archive.OnRestoreFile = [this](TBackupFile&, std::string& name, int32_t, bool& restore) {
      BackupFileRestoreFile(name, restore);
    };
    archive.OnFileRestored = [this](TBackupFile&, std::string& name, platform::OutputFile&) {
      BackupFileFileRestored(name);
    };
    archive.OnProgress = [this](TBackupFile&, const std::string& name, int percent, bool&) {
      BackupFileProgress(name, percent);
    };
    archive.OnError = [this](TBackupFile&, int, const std::string& text) { BackupFileError(text); };
    archive.ConfirmDisk = [this](const std::string& text) { return diskPrompt_.Confirm(text); };
    archive.ProcessMessages = [this] { ctx_.progress.ProcessMessages(); };
  }

 private:
  void BackupFileRestoreFile(std::string& name, bool& restore) {
    const FileRecord* r = list_.FindBySourceName(name);
    restore = r && r->usableTarget && r->Has(kFileUpdate) && r->rule != kRuleNeverWrite;
    if (!restore) return;
    const std::string target = NormalizeTargetPath(ctx_.services.variables.ExpandVariables(r->targetPath));
    if (!IsUsableTargetPath(target)) {
      restore = false;
      return;
    }
    name = target;
    current_ = target;
    currentExisted_ = r->Has(kFileExists);
    const std::string folder = FolderOf(target);
    // Thousands of members share a few folders: each is looked at once. The reader
    // makes a missing one right after this event.
    if (!knownFolders_.insert(UpperCase(folder)).second) return;
    // Every level the reader is about to make, so that none is left behind empty.
    for (const std::string& level : MissingFolderLevels(ctx_.services.machine.files, folder))
      ctx_.record.push_back({model::RecordAction::MakeDir, level});
  }

  // A file that was there before the installation is not the installation's to
  // remove: it is recorded as replaced.
  void BackupFileFileRestored(const std::string& name) {
    ctx_.record.push_back({currentExisted_ ? model::RecordAction::ReplaceFile : model::RecordAction::CopyFile, name});
    CountSharedFile(ctx_, name, currentExisted_);
  }

  void BackupFileProgress(const std::string& name, int percent) {
    const int position = ctx_.progress.BaseOffset() + percent;
    ctx_.progress.SetPosition(position);
    ctx_.progress.SetPercentLabel(IntToStr(position) + "%");
    ctx_.progress.SetFileLabel(name);
    ctx_.progress.ProcessMessages();
  }

  // The box the documents ask for, and the same text on the error page: a package
  // that could not be installed must not end in a finish page that says all went well.
  void BackupFileError(const std::string& text) {
    const std::string message = text + "\r\n\n" + "File: " + current_;
    ctx_.services.dialogs.ShowMessage(message, ui::MsgDlgType::Error, ui::mbOK, ctx_.services.process.dialogLanguage);
    ctx_.errorJump(message);
  }

  RunContext& ctx_;
  const FileList& list_;
  std::string current_;
  bool currentExisted_ = false;
  DiskPrompt diskPrompt_;
  std::unordered_set<std::string> knownFolders_;  // upper-cased
};

// The first check-list line of that name decides. Without the list's lines, the
// entry's own selection, which the page keeps in step with its line, and only for
// an entry the list shows (a size above 0).
bool ItemChecked(const RunContext& ctx, const model::ComponentEntry& entry) {
  if (ctx.choices.componentItems.empty()) return entry.selected && entry.size != 0;
  for (const ComponentItem& item : ctx.choices.componentItems)
    if (item.name == entry.name) return item.checked;
  return false;
}

void RefreshWebUpdateScript(RunContext& ctx, const std::string& sourceFolder) {
  if (ctx.selection.webUpdateKindIndex == -1) return;
  const std::string yearFolder =
      ctx.services.variables.ExpandVariables("$DefaultDestination$") + "\\" + ctx.choices.programYear + "\\webupdate\\";
  if (ctx.services.machine.files.FileExists(yearFolder + "setup.exe"))
    ctx.services.machine.files.CopyFile(sourceFolder + "setup.inf", yearFolder + "setup.inf", true);
}

void DeleteOldUpdaterShortcuts(RunContext& ctx) {
  for (const char* desktop : {"$AllUserDesktop$", "$UserDesktop$"})
    for (const char* name : {"Belloro 2006 Internet Frissítő.lnk", "Belloro 2007 Internet Frissítő.lnk"}) {
      const std::string path = ctx.services.variables.ExpandVariables(desktop) + "\\" + name;
      if (ctx.services.machine.files.FileExists(path)) ctx.services.machine.files.DeleteFile(path);
    }
}

}  // namespace

int PackageCount(const RunContext& ctx) {
  int count = 0;
  if (CustomOrWeb(ctx) && !ctx.choices.componentItems.empty()) {
    for (const ComponentItem& item : ctx.choices.componentItems) count += item.checked ? 1 : 0;
  } else if (CustomOrWeb(ctx)) {
    for (const model::ComponentEntry& c : ctx.selection.components) count += ItemChecked(ctx, c) ? 1 : 0;
  } else {
    for (const model::ComponentEntry& c : ctx.selection.components) count += c.size != 0 ? 1 : 0;
  }
  return count;
}

void ExtractPackages(RunContext& ctx, const FileList& list, const std::string& sourceFolderIn,
                     const ExtractionTexts& texts, const std::function<void()>& afterPackage) {
  const std::string sourceFolder = WithTrailing(sourceFolderIn, '\\');
  ctx.progress.SetStatus(texts.copyFiles);
  ctx.progress.ProcessMessages();
  ctx.progress.SetRange(0, 100 * PackageCount(ctx));
  ctx.progress.SetPosition(0);
  ctx.progress.SetBaseOffset(0);

  TBackupFile archive(ctx.services.machine.files);
  ExtractionEvents events(ctx, list);
  events.Bind(archive);
  auto extract = [&](const std::string& archivePath) {
    archive.Restore(archivePath, "");
    if (afterPackage) afterPackage();
  };
  if (ctx.selection.components.empty()) {
    extract(sourceFolder + "data1.dat");
  } else {
    for (const model::ComponentEntry& c : ctx.selection.components) {
      if (!c.selected) continue;
      if (!CustomOrWeb(ctx) || ItemChecked(ctx, c)) extract(sourceFolder + c.packName + ".dat");
      ctx.progress.SetBaseOffset(ctx.progress.BaseOffset() + 100);
    }
  }
  RefreshWebUpdateScript(ctx, sourceFolder);
  DeleteOldUpdaterShortcuts(ctx);
}

}  // namespace ostravel::engine
