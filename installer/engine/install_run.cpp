#include "installer/engine/install_run.h"

#include <memory>
#include <set>

#include "base/installer_error.h"
#include "base/text.h"
#include "installer/engine/backups.h"
#include "installer/engine/create_icons.h"
#include "installer/engine/created_folders.h"
#include "installer/engine/external_steps.h"
#include "installer/engine/extraction.h"
#include "installer/engine/file_list.h"
#include "installer/engine/finish_install.h"
#include "installer/engine/install_steps.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/registry_entries.h"
#include "installer/engine/run_log.h"
#include "installer/engine/shortcuts.h"
#include "installer/engine/target_paths.h"
#include "installer/engine/unfinished_run.h"
#include "installer/engine/uninstall_kinds.h"
#include "installer/script/setup_script.h"

namespace ostravel::engine {

const char* const kRollbackIncomplete =
    "A Telepítő nem tudta teljesen visszaállítani a gépet a telepítés előtti állapotába; "
    "ami nem állt vissza, azt a napló sorolja fel.";

const char* const kLockedFilesArticleUrl = "https://www.belloro.hu/tudastar/zarolt-fajlok";
const char* const kUnusableTargets = "Egy vagy több fájl célútvonala érvénytelen, ezek a fájlok nem települtek:";
const char* const kExtractionCancelled =
    "A Telepítést annak teljes befejezése előtt a felhasználó megszakította: a következő lemez nem került "
    "behelyezésre.";
const char* const kDownloadAbandoned =
    "A Telepítést a fájlok Internetről való letöltése után a felhasználó megszakította";

std::string LockedFilesMessage(const std::vector<std::string>& lockedTargets) {
  std::string list;
  for (const auto& t : lockedTargets) list += t + "\r\n";
  return "Egy vagy több frissítendő fájl zárolva van.\r\n\r\n" + TrimRight(list) + "\r\n\r\n" +
         "Kérjük győzödjön meg arról, hogy minden munkaállomáson kiléptek az összes Belloro programból, mielőtt "
         "újraindítja a Telepítőt!" +
         "\r\n\r\n" + "Kérjük olvassa el tájékoztatónkat a hibaüzenettel kapcsolatban a következő Internetcímen: " +
         kLockedFilesArticleUrl;
}

namespace {

std::string ExceptionText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

class InstallRun {
 public:
  explicit InstallRun(RunContext& ctx) : ctx_(ctx), log_(ctx, files_) {}

  void Run() {
    texts_ = WithScript(ctx_.services.machine.files, ctx_.services.process.scriptPath,
                        [](TExtIniFile& script) { return ReadCopyFilesPageSection(script); });
    ctx_.progress.SetSmooth(texts_.smooth);
    ctx_.progress.SetInfo(ctx_.services.variables.ExpandVariables(texts_.info));
    if (ctx_.services.process.SilentMode() && ctx_.services.process.exitCode != 0) {
      ctx_.end = ctx_.services.process.exitCode == 1 ? RunEnd::Success : RunEnd::Idle;
      return;
    }
    // A run killed before this one is dealt with first: undone, or its kind named.
    const std::string record = ctx_.services.variables.ExpandVariables(ctx_.services.process.installRecordPath);
    if (!ctx_.services.process.UninstallMode() &&
        RecoverUnfinishedRun(ctx_, texts_, record) == Recovery::UndoIncomplete) {
      ctx_.errorJump(kRollbackIncomplete);
      ctx_.end = RunEnd::Stopped;
      return;
    }
    ctx_.end = RunEnd::Stopped;
    SetAsideUnreadableRecord(ctx_);
    firstEntry_ = ctx_.record.size();
    HoldBackErrors hold(*this);
    // Whatever stops the run from here on, what it did is in the record.
    try {
      if (log_.Step("Download", [&] { return Download(); }) && log_.Step("CreateFilelist", [&] { return Prepare(); }) &&
          log_.Step("Backups", [&] { return Backups(); }) &&
          log_.Step("PrepareServer", [&] { return PrepareServer(); })) {
        FileSteps();
        ctx_.end = RunEnd::Success;
      }
    } catch (...) {
      if (!rollbackOnFailure_) {
        EndRunState();
        throw;
      }
      heldErrors_.push_back(ExceptionText(std::current_exception()));
    }
    if (!rollbackOnFailure_) {
      EndRunState();
      return;
    }
    hold.Release();
    // The block keeps its mark until the backups or the changes are gone: a run
    // killed before is undone by the next start.
    SaveRecord();
    if (heldErrors_.empty()) {
      DropRunBackups();
      EndRunState();
      return;
    }
    ctx_.end = RunEnd::Stopped;
    const Undo undo = UndoRun();
    for (const std::string& message : heldErrors_) ctx_.errorJump(message);
    // The page must not say the machine is as it was when something stayed changed.
    if (undo == Undo::Complete) ctx_.errorJump(rolledBackInfo_);
    if (undo == Undo::Incomplete) ctx_.errorJump(kRollbackIncomplete);
  }

 private:
  bool Download() {
    if (!ctx_.choices.webUpdateKind) return true;
    const bool ok = DownloadPackages(ctx_);
    if (!ok && !ctx_.errorReported()) ctx_.errorJump(kDownloadAbandoned);
    return ok;
  }

  bool Prepare() {
    ctx_.progress.SetStatus(texts_.createFilelist);
    // One reader serves the rest of the run: nothing writes the script from here on,
    // and a large script costs a read and a parse each time it is opened.
    script_ = std::make_unique<TExtIniFile>(ctx_.services.machine.files, ctx_.services.process.scriptPath, true);
    TExtIniFile& script = *script_;
    const int files = script.ReadInteger("Files", "Count", 0);
    const int components = script.ReadInteger("Components", "Count", 0);
    ctx_.progress.SetRange(0, ctx_.selection.components.empty() ? components + files : files);
    ctx_.progress.SetPosition(0);
    ctx_.progress.SetBaseOffset(0);
    if (ctx_.selection.modules.empty()) BuildModules();
    ReadLists(script);
    ctx_.progress.ProcessMessages();
    if (ctx_.selection.components.empty() && ctx_.buildComponentEntries) ctx_.buildComponentEntries();
    const ConfigurationSection config = ReadConfigurationSection(script);
    installLogFile_ = config.installLogFile;
    keepBackups_ = config.keepBackups;
    rollbackOnFailure_ = config.rollbackOnFailure;
    // A run that undoes itself changes nothing before its record can say so.
    const bool unlocked = BuildFileList(ctx_, script, files_, false, rollbackOnFailure_);
    folders_ = ReadFolderList(script);
    fonts_ = ReadFontList(script);
    if (rollbackOnFailure_)
      rolledBackInfo_ = script.ReadString(section::kErrorFinishPage, "RolledBackInfo", kDefaultRolledBackInfo);
    script.UpdateFile();
    ctx_.runState = UnfinishedMark(rollbackOnFailure_);
    if (rollbackOnFailure_) {
      NotePending();
      SaveRecord(true);
    }
    if (unlocked) return true;
    std::vector<std::string> locked;
    for (const FileRecord& r : files_.Records())
      if (r.Has(kFileLocked)) locked.push_back(r.targetPath);
    ctx_.finish.showErrorLink = true;
    ctx_.finish.errorLinkUrl = kLockedFilesArticleUrl;
    ctx_.errorJump(LockedFilesMessage(locked));
    return false;
  }

  // The base product is always there, whoever builds the rest of the list.
  void BuildModules() {
    if (ctx_.buildModuleList) ctx_.buildModuleList();
    if (ctx_.selection.modules.empty()) ctx_.selection.modules.push_back({"", true, true, false, true});
  }

  void ReadLists(const TExtIniFile& script) {
    const bool uninstaller = UninstallerWanted();
    registry_ = ReadRegistryList(script, ctx_.selection.modules, ctx_.services.variables,
                                 {uninstaller, ctx_.services.process.installRecordPath});
    icons_ = ReadIconList(script, ctx_.selection.modules, ctx_.services.variables,
                          {uninstaller, ctx_.services.process.installRecordPath, ctx_.choices.uninstallIconTitle});
    const RunChoices& c = ctx_.choices;
    if (const int moved = ApplyIconGroup(icons_, ctx_.services.variables, c.offeredIconGroup, c.iconGroup))
      LogQuietly(ctx_, Format("Shortcut group \"%s\" instead of \"%s\" for %d shortcuts", c.iconGroup.c_str(),
                              c.offeredIconGroup.c_str(), moved));
  }

  // The uninstall entry and shortcut start the uninstaller with the record: without
  // a record path they could only fail.
  bool UninstallerWanted() {
    if (!ctx_.services.process.uninstallEnabled || ctx_.services.process.UninstallMode()) return false;
    if (!Trim(ctx_.services.variables.ExpandVariables(ctx_.services.process.installRecordPath)).empty()) return true;
    LogQuietly(ctx_,
               "No uninstall entry or uninstall shortcut: [Configuration] UnInstallLogFile names no "
               "installation record");
    return false;
  }

  // Before anything is replaced; a backup that cannot be made raises.
  bool Backups() {
    KeepBackups(ctx_, {files_, icons_, registry_}, texts_.createBackup, keepBackups_ || rollbackOnFailure_);
    SaveRecord();  // every copy is in the record before anything is replaced
    // What the lock test clears on the way, once the backups can put it back.
    if (rollbackOnFailure_)
      for (const FileRecord& r : files_.Records())
        if (r.Has(kFileExists) && r.Has(kFileUpdate)) ctx_.services.machine.files.SetAttributes(r.targetPath, 0);
    return true;
  }

  bool PrepareServer() {
    ctx_.progress.SetBarVisible(false);
    const bool ok = PrepareDatabaseServer(ctx_);
    ctx_.progress.SetBarVisible(true);
    return ok;
  }

  // A run that will undo itself goes no further than its first failure.
  bool Failed() const { return rollbackOnFailure_ && !heldErrors_.empty(); }

  template <typename Fn>
  void Step(const char* name, Fn&& fn) {
    if (Failed()) return;
    ctx_.progress.SetStep(name);
    log_.Step(name, fn);
    ctx_.progress.ProcessMessages();
    SaveRecord();
  }

  void FileSteps() {
    const std::string source =
        ctx_.choices.webUpdateKind ? ctx_.choices.copyTargetFolder : ctx_.services.process.sourceFolder;
    Step("UpdateFilesAsNeccessary", [&] {
      ExtractPackages(ctx_, files_, source, {texts_.copyFiles}, [&] { SaveRecord(); });
      // Half a product is a failure worth undoing; without the key it goes on as ever.
      if (rollbackOnFailure_ && ctx_.extractionCancelled) throw InstallerError(kExtractionCancelled);
      log_.extracted = true;
      ReportUnusableTargets();
    });
    Step("SetFileAttributes", [&] { SetFileAttributes(ctx_, files_); });
    // The uninstall shortcut below starts the shared uninstaller: it must be there
    // already on a first installation.
    if (ctx_.services.process.uninstallEnabled && !Failed()) {
      NoteSharedCopies();
      PlaceSharedCopies(ctx_.services.machine.files, ctx_.services.variables, ctx_.services.process);
    }
    Step("CreateIcons", [&] { CreateIcons(ctx_, icons_); });
    Step("UpdateRegistry", [&] { UpdateRegistry(ctx_, registry_, files_, texts_.registerComponents); });
    Step("CreateInstallLogFile", [&] { WriteUpdateStateFile(ctx_, *script_, texts_.updateSystem, installLogFile_); });
    Step("CreateAdditionalFolders", [&] { CreateAdditionalFolders(ctx_, folders_); });
    Step("InstallNewFonts", [&] { InstallNewFonts(ctx_, fonts_); });
    if (ctx_.choices.hasOpSystemList && ctx_.choices.windowsVariant)
      Step("BelloroIniUpdate", [&] { UpdateApplicationIni(ctx_); });
    const std::string serverFolder = ServerFolderForServices(ctx_);
    Step("ExecuteExternalInstallerFiles", [&] { ExecuteExternalInstallerFiles(ctx_, files_); });
    Step("AlterFBWindowsService", [&] { AlterServerServices(ctx_, serverFolder); });
    ctx_.progress.SetStep("Done all.");
  }

  // Targets that expand to no usable path were never written; say so instead of
  // finishing as if they had been.
  void ReportUnusableTargets() {
    std::string list;
    for (const FileRecord& r : files_.Records())
      if (!r.usableTarget && !Trim(r.targetAsWritten).empty()) list += "\r\n" + r.targetAsWritten;
    if (!list.empty()) ctx_.errorJump(kUnusableTargets + list);
  }

  // With RollbackOnFailure the error page waits until the run has undone itself:
  // messages are held back from the start of the run and shown after the undo.
  class HoldBackErrors {
   public:
    explicit HoldBackErrors(InstallRun& run) : run_(run), jump_(run.ctx_.errorJump), reported_(run.ctx_.errorReported) {
      run.ctx_.errorJump = [this](const std::string& message) {
        if (run_.rollbackOnFailure_)
          run_.heldErrors_.push_back(message);
        else
          jump_(message);
      };
      run.ctx_.errorReported = [this] { return !run_.heldErrors_.empty() || (reported_ && reported_()); };
    }
    ~HoldBackErrors() { Release(); }
    void Release() {
      if (released_) return;
      released_ = true;
      run_.ctx_.errorJump = jump_;
      run_.ctx_.errorReported = reported_;
    }

   private:
    InstallRun& run_;
    std::function<void(const std::string&)> jump_;
    std::function<bool()> reported_;
    bool released_ = false;
  };

  // The shared uninstaller and script copy this run placed where there were none.
  void NoteSharedCopies() {
    platform::FileSystem& files = ctx_.services.machine.files;
    const std::string script = SharedScriptCopyPath(ctx_.services.variables);
    const std::string program = FolderOf(FolderOf(script)) + "\\setup.exe";
    for (const std::string& path : {program, script})
      if (IsUsableTargetPath(path) && !files.FileExists(path)) newSharedCopies_.push_back(path);
    for (std::string folder = FolderOf(script); IsUsableTargetPath(folder) && !files.DirectoryExists(folder);
         folder = FolderOf(folder))
      newSharedFolders_.push_back(folder);
  }

  enum class Undo { None, Complete, Incomplete };

  // Nothing was changed while the record holds none of this run's lines.
  Undo UndoRun() {
    const bool changed = ctx_.record.size() > firstEntry_;
    if (!changed && !blockSaved_) return Undo::None;
    const std::string path = ctx_.services.variables.ExpandVariables(ctx_.services.process.installRecordPath);
    std::string text;
    // Only a record that holds this run's block as saved can say what to undo.
    if (savedEntries_ != ctx_.record.size() || !ctx_.services.machine.files.ReadFile(path, text)) {
      LogQuietly(ctx_, "Undo: not possible, the installation record does not hold this run: " + path);
      return Undo::Incomplete;
    }
    LogQuietly(ctx_, "Undo: the installation failed, undoing it");
    bool complete = UndoFailedRun(ctx_, UninstallFrame{texts_, BlockForUndo(text)}, path);
    platform::FileSystem& files = ctx_.services.machine.files;
    for (auto it = newSharedCopies_.rbegin(); it != newSharedCopies_.rend(); ++it) {
      if (!files.FileExists(*it)) continue;
      files.SetAttributes(*it, platform::kAttrArchive);
      const bool removed = files.DeleteFile(*it);
      complete = complete && removed;
      LogQuietly(ctx_, (removed ? "Undo: removed the file " : "Undo: could not be removed: the file ") + *it);
    }
    // Innermost first; one that holds anything else stays.
    for (const std::string& folder : newSharedFolders_)
      if (files.DirectoryExists(folder)) files.RemoveDirectory(folder);
    ctx_.record.resize(firstEntry_);
    savedEntries_ = firstEntry_;
    ctx_.runState.clear();
    savedState_.clear();
    if (!complete) LogQuietly(ctx_, "Undo: incomplete, see the lines above");
    if (!changed && complete) return Undo::None;
    return complete ? Undo::Complete : Undo::Incomplete;
  }

  // A run that went well keeps the backups only when KeepBackups asks for them.
  void DropRunBackups() {
    if (keepBackups_ || ctx_.record.size() <= firstEntry_ || savedEntries_ != ctx_.record.size()) return;
    BlockBackups backups;
    model::InstallRecordEntries kept(ctx_.record.begin(), ctx_.record.begin() + long(firstEntry_));
    for (size_t i = firstEntry_; i < ctx_.record.size(); ++i) {
      const model::InstallRecordEntry& e = ctx_.record[i];
      const size_t bar = e.value.rfind('|');
      if (e.kind == model::RecordAction::BackupFile)
        backups.files.push_back({e.value.substr(0, bar), e.value.substr(bar + 1)});
      else if (e.kind != model::RecordAction::BackupRegValue)
        kept.push_back(e);
    }
    if (kept.size() == ctx_.record.size()) return;
    // The saved block only ever grows: its backup lines are struck from the file itself.
    platform::FileSystem& files = ctx_.services.machine.files;
    const std::string path = ctx_.services.variables.ExpandVariables(ctx_.services.process.installRecordPath);
    std::string text;
    if (!files.ReadFile(path, text)) return;
    RecordBlocks blocks = SplitNewestBlock(text);
    // The mark goes in the same write: a block without its backups can no longer be undone.
    std::vector<std::string> lines;
    for (const std::string& line : blocks.newest)
      if (!StartsWith(line, "Backup File: ") && !StartsWith(line, "Backup Reg Value: ") && !IsRunStateLine(line))
        lines.push_back(line);
    lines.insert(lines.end(), blocks.older.begin(), blocks.older.end());
    if (!ReplaceRecord(files, ctx_.services.machine.registry, path, RecordText(lines), &text)) return;
    ctx_.record = std::move(kept);
    savedEntries_ = ctx_.record.size();
    ctx_.runState.clear();
    savedState_.clear();
    RemoveBackups(ctx_, backups, path, texts_.removeBackup);
  }

  // Only when something new was recorded: the record is rewritten whole each time.
  // A block that holds nothing yet is saved only when asked to: a run that undoes
  // itself lists what it may create before it starts.
  void SaveRecord(bool evenEmpty = false) {
    if (ctx_.record.size() == savedEntries_ && ctx_.runState == savedState_) return;
    if (ctx_.record.empty() && !evenEmpty && !blockSaved_) return;
    // The record's own folder, when the save has to make it, is this installation's
    // (the destination page makes it otherwise, or did before an undone run took it).
    if (rollbackOnFailure_ && !blockSaved_ && !recordFolderNoted_) {
      recordFolderNoted_ = true;
      const std::string path = ctx_.services.variables.ExpandVariables(ctx_.services.process.installRecordPath);
      for (const std::string& level : MissingFolderLevels(ctx_.services.machine.files, FolderOf(path)))
        ctx_.record.push_back({model::RecordAction::MakeDir, level});
    }
    if (!SaveRecordBlock(ctx_)) return;
    savedEntries_ = ctx_.record.size();
    savedState_ = ctx_.runState;
    blockSaved_ = true;
  }

  // The run has ended, well or not, by itself: its block loses the mark.
  void EndRunState() {
    ctx_.runState.clear();
    SaveRecord();
  }

  // Before anything changes, what the run may create that is not there yet: the
  // files, shortcuts and shared copies, their folders, the additional folders, the
  // font copies, the update-state file, registry keys and values. Killed before it
  // recorded them, the run is undone by this list (backup copies no record lists go
  // anyway).
  void NotePending() {
    platform::FileSystem& fs = ctx_.services.machine.files;
    const PathVariables& vars = ctx_.services.variables;
    std::set<std::string> seen, folders;  // upper-cased
    auto add = [&](model::RecordAction kind, const std::string& value) {
      if (seen.insert(IntToStr(int(kind)) + UpperCase(value)).second) ctx_.runState.push_back(PendingLine(kind, value));
    };
    auto folder = [&](const std::string& path) {
      if (!folders.insert(UpperCase(path)).second) return;
      for (const std::string& level : MissingFolderLevels(fs, path)) add(model::RecordAction::MakeDir, level);
    };
    auto file = [&](const std::string& path, bool exists, model::RecordAction kind = model::RecordAction::CopyFile) {
      if (!IsUsableTargetPath(path)) return;
      folder(FolderOf(path));
      if (!exists) add(kind, path);
    };
    for (const FileRecord& r : files_.Records())
      if (r.usableTarget && r.Has(kFileUpdate) && r.rule != kRuleNeverWrite)
        file(NormalizeTargetPath(vars.ExpandVariables(r.targetPath)), r.Has(kFileExists));
    for (const ShortcutEntry& s : icons_) {
      const std::string link = ShortcutPath(vars, s.placement, s.title);
      if (!link.empty()) file(link, fs.FileExists(link), model::RecordAction::CreateIcon);
    }
    if (ctx_.services.process.uninstallEnabled) {
      const std::string script = SharedScriptCopyPath(vars);
      for (const std::string& path : {FolderOf(FolderOf(script)) + "\\setup.exe", script})
        file(path, fs.FileExists(path));
    }
    for (const std::string& written : folders_)
      if (!Trim(written).empty()) folder(NormalizeTargetPath(vars.ExpandVariables(written)));
    for (const std::string& copy : NewFontCopies(ctx_, fonts_)) file(copy, false);
    const std::string stateFile = vars.ExpandVariables(installLogFile_);
    if (!Trim(installLogFile_).empty()) file(NormalizeTargetPath(stateFile), fs.FileExists(stateFile));
    platform::Registry& reg = ctx_.services.machine.registry;
    for (const RegistryRecord& r : registry_) {
      if (!r.root) continue;
      if (reg.KeyExists(*r.root, r.subKey)) {
        std::string old;
        if (reg.ReadString(*r.root, r.subKey, r.valueName, old) == platform::RegRead::Missing)
          add(model::RecordAction::WriteRegValue, r.rootName + ";" + r.subKey + ";" + r.valueName);
        continue;
      }
      if (!r.createKey) continue;
      // The outermost key that is missing: removing it takes the rest along.
      std::string key = r.subKey;
      while (key.find('\\') != std::string::npos) {
        const std::string parent = key.substr(0, key.rfind('\\'));
        if (reg.KeyExists(*r.root, parent)) break;
        key = parent;
      }
      add(model::RecordAction::CreateRegKey, r.rootName + ";" + key);
    }
  }

  RunContext& ctx_;
  CopyFilesPageSection texts_;
  FileList files_;
  RunLog log_;
  std::vector<ShortcutEntry> icons_;
  std::vector<RegistryRecord> registry_;
  std::vector<std::string> folders_;
  std::vector<FontKeys> fonts_;
  std::string installLogFile_;
  bool keepBackups_ = false;
  bool rollbackOnFailure_ = false;
  std::string rolledBackInfo_;
  std::vector<std::string> heldErrors_;
  std::vector<std::string> newSharedCopies_, newSharedFolders_;
  size_t firstEntry_ = 0;
  std::unique_ptr<TExtIniFile> script_;
  size_t savedEntries_ = 0;
  std::vector<std::string> savedState_;
  bool blockSaved_ = false;
  bool recordFolderNoted_ = false;
};

}  // namespace

void RunInstall(RunContext& ctx) { InstallRun(ctx).Run(); }

void RunInstallation(RunContext& ctx) {
  if (ctx.services.process.UninstallMode())
    RunUninstall(ctx);
  else
    RunInstall(ctx);
}

}  // namespace ostravel::engine
