#include <map>
#include <set>
#include <unordered_map>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/archive_backup_file.h"
#include "installer/engine/created_folders.h"
#include "installer/engine/disk_prompt.h"
#include "installer/engine/file_list.h"
#include "installer/engine/install_run.h"
#include "installer/engine/install_steps.h"
#include "installer/engine/installed_file.h"
#include "installer/engine/record_blocks.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/target_paths.h"
#include "installer/engine/uninstall_kinds.h"
#include "installer/script/script_lists.h"

namespace ostravel::engine {

const char* const kRepairing = "Repairing the last installation ...";

namespace {

const char* const kNotRepaired = "Egy vagy több fájlt nem sikerült helyreállítani, mert a csomagjuk hiányzik, "
                                 "nem tartalmazza őket, vagy más változatot tartalmaz:";
constexpr const char* kDestinationVariable = "$DefaultDestination$";

// A file of the script as the repair sees it.
struct ScriptFile {
  FileKeys keys;
  std::string packName;  // "" when no component of its module names one
};

std::vector<ScriptFile> ReadScriptFiles(const TExtIniFile& script) {
  std::vector<std::string> modules{""};
  for (const InstallModuleKeys& m : ReadInstallModuleList(script)) modules.push_back(m.name);
  std::vector<ScriptFile> files;
  bool anyComponent = false;
  for (const std::string& module : modules) {
    std::map<int, std::string> packs;
    for (const ComponentKeys& c : ReadComponentList(script, module)) packs.emplace(c.number, c.packName);
    anyComponent = anyComponent || !packs.empty();
    for (FileKeys& keys : ReadFileList(script, module)) {
      auto pack = packs.find(keys.compId);
      files.push_back({std::move(keys), pack == packs.end() ? "" : pack->second});
    }
  }
  // Without components everything travels in the one archive, as when installing.
  if (!anyComponent)
    for (ScriptFile& f : files) f.packName = "data1";
  return files;
}

// The destination the installation really used: the folder in front of the
// recorded files whose script targets begin with the destination variable, taken
// when it explains more of them than the destination the page shows now.
std::string RecordedDestination(const std::vector<ScriptFile>& files, const std::vector<std::string>& recorded,
                                const PathVariables& vars, const std::string& current) {
  std::unordered_multimap<std::string, const std::string*> byName;  // upper-cased file name
  for (const std::string& path : recorded) byName.emplace(UpperCase(FileNameOf(path)), &path);
  std::map<std::string, std::pair<int, std::string>> hits;  // upper-cased prefix -> count, prefix
  for (const ScriptFile& f : files) {
    if (!StartsWith(f.keys.targetFile, kDestinationVariable)) continue;
    const std::string rest = UpperCase(NormalizeTargetPath(
        "C:\\" + vars.ExpandVariables(f.keys.targetFile.substr(std::string(kDestinationVariable).size())))).substr(2);
    auto [from, to] = byName.equal_range(UpperCase(FileNameOf(rest)));
    for (auto it = from; it != to; ++it) {
      const std::string& path = *it->second;
      if (path.size() <= rest.size() || !EndsWith(UpperCase(path), rest)) continue;
      const std::string prefix = path.substr(0, path.size() - rest.size());
      auto& hit = hits[UpperCase(prefix)];
      hit.first++;
      hit.second = prefix;
    }
  }
  std::string best = current;
  int bestCount = hits.count(UpperCase(current)) ? hits[UpperCase(current)].first : 0;
  for (const auto& [key, hit] : hits)
    if (hit.first > bestCount) bestCount = hit.first, best = hit.second;
  return best;
}

class RepairRun {
 public:
  RepairRun(RunContext& ctx, const UninstallFrame& frame) : ctx_(ctx), frame_(frame) {}

  void Run() {
    ctx_.end = RunEnd::Stopped;
    for (const UninstallAction& a : ParseInstallRecord(frame_.recordText)) {
      if (a.kind == UninstallKind::File) recorded_.push_back(a.value), recordedFiles_.insert(UpperCase(a.value));
      if (a.kind == UninstallKind::ReplacedFile) replacedFiles_.insert(UpperCase(a.value));
      if (a.kind == UninstallKind::Folder) recordedFolders_.insert(UpperCase(a.value));
    }
    const std::vector<ScriptFile> files = WithScript(ctx_.services.machine.files, ctx_.services.process.scriptPath,
                                                     [](TExtIniFile& script) { return ReadScriptFiles(script); });
    ctx_.services.variables.SetCurrentDestination(
        RecordedDestination(files, recorded_, ctx_.services.variables, ctx_.choices.destination));
    for (const ScriptFile& f : files) Consider(f);
    if (!NothingLocked()) return;
    ExtractPackages();
    SetAttributes();
    ReportMissing();
    RecordNewFolders();
    if (!failed_) ctx_.end = RunEnd::Success;
  }

 private:
  // Only files the record lists as written are ever touched. A file the script
  // writes only when it is missing is the customer's once it exists: only missing
  // ones come back. So is a file the installation found and replaced (another
  // program may have written it since): it comes back only when it is gone.
  void Consider(const ScriptFile& f) {
    FileRecord r = MakeFileRecord(f.keys, ctx_.services.variables);
    if (!r.usableTarget) return;
    r.targetPath = NormalizeTargetPath(ctx_.services.variables.ExpandVariables(r.targetPath));
    const std::string key = UpperCase(r.targetPath);
    const bool usable = IsUsableTargetPath(r.targetPath);
    const bool damaged = usable && recordedFiles_.count(key) ? Damaged(r.targetPath, r.rule, f.keys.md5HashInfo)
                         : usable && replacedFiles_.count(key) ? !ctx_.services.machine.files.FileExists(r.targetPath)
                                                               : false;
    if (damaged && r.rule != kRuleNeverWrite) {
      r.flags |= kFileUpdate;
      if (ctx_.services.machine.files.FileExists(r.targetPath)) r.flags |= kFileExists;
      needed_.push_back({r.targetPath, r.rule, f.keys.md5HashInfo});
      if (!f.packName.empty() && packsSeen_.insert(UpperCase(f.packName)).second) packs_.push_back(f.packName);
    }
    list_.Add(std::move(r));  // every record, so that the first of a source name decides as when installing
  }

  bool Damaged(const std::string& target, int rule, const std::string& md5) {
    platform::FileSystem& files = ctx_.services.machine.files;
    if (!files.FileExists(target)) return true;
    if (rule == kRuleWriteWhenMissing || Trim(md5).empty()) return false;
    return !SameText(FileDigest(files, target), Trim(md5));
  }

  bool NothingLocked() {
    std::vector<std::string> locked;
    for (const FileRecord& r : list_.Records())
      if (r.Has(kFileExists) && r.Has(kFileUpdate) && HeldOpen(ctx_.services.machine.files, r.targetPath))
        locked.push_back(r.targetPath);
    if (locked.empty()) return true;
    ctx_.finish.showErrorLink = true;
    ctx_.finish.errorLinkUrl = kLockedFilesArticleUrl;
    ctx_.errorJump(LockedFilesMessage(locked));
    failed_ = true;
    return false;
  }

  void ExtractPackages() {
    if (needed_.empty()) {
      LogQuietly(ctx_, "Repair: every recorded file is in place");
      return;
    }
    const std::string source = WithTrailing(ctx_.services.process.sourceFolder, '\\');
    ctx_.progress.SetRange(0, 100 * int(packs_.size()));
    ctx_.progress.SetPosition(0);
    ctx_.progress.SetBaseOffset(0);
    TBackupFile archive(ctx_.services.machine.files);
    Bind(archive);
    for (const std::string& pack : packs_) {
      archive.Restore(source + pack + ".dat", "");
      ctx_.progress.SetBaseOffset(ctx_.progress.BaseOffset() + 100);
    }
  }

  void Bind(TBackupFile& archive) {
    archive.RestoreMode = rmAll;
    archive.RestoreFullPath = false;
    archive.OnRestoreFile = [this](TBackupFile&, std::string& name, int32_t, bool& restore) {
      const FileRecord* r = list_.FindBySourceName(name);
      restore = r && r->Has(kFileUpdate) && !repaired_.count(UpperCase(r->targetPath));
      if (!restore) return;
      name = current_ = r->targetPath;
      for (const std::string& level : MissingFolderLevels(ctx_.services.machine.files, FolderOf(name)))
        if (recordedFolders_.insert(UpperCase(level)).second) newFolders_.push_back(level);
    };
    archive.OnFileRestored = [this](TBackupFile&, std::string& name, platform::OutputFile&) {
      repaired_.insert(UpperCase(name));
    };
    archive.OnProgress = [this](TBackupFile&, const std::string& name, int percent, bool&) {
      ctx_.progress.SetPosition(ctx_.progress.BaseOffset() + percent);
      ctx_.progress.SetFileLabel(name);
      ctx_.progress.ProcessMessages();
    };
    archive.OnError = [this](TBackupFile&, int, const std::string& text) { Error(text + "\r\n\n" + "File: " + current_); };
    archive.ConfirmDisk = [this](const std::string& text) { return diskPrompt_.Confirm(text); };
    archive.ProcessMessages = [this] { ctx_.progress.ProcessMessages(); };
  }

  void Error(const std::string& message) {
    ctx_.services.dialogs.ShowMessage(message, ui::MsgDlgType::Error, ui::mbOK, ctx_.services.process.dialogLanguage);
    ctx_.errorJump(message);
    failed_ = true;
  }

  // The script's attributes, as the installation set them.
  void SetAttributes() {
    FileList repaired;
    for (const FileRecord& r : list_.Records())
      if (r.Has(kFileUpdate) && repaired_.count(UpperCase(r.targetPath))) repaired.Add(r);
    SetFileAttributes(ctx_, repaired);
  }

  // A repair that could not put a file back must not end as if it had; nor one
  // whose package holds another version than the script describes.
  void ReportMissing() {
    std::string list;
    for (const Needed& n : needed_)
      if (!repaired_.count(UpperCase(n.target)) || Damaged(n.target, n.rule, n.md5)) list += "\r\n" + n.target;
    if (list.empty()) return;
    LogQuietly(ctx_, "Repair: not repaired:" + list);
    ctx_.errorJump(kNotRepaired + list);
    failed_ = true;
  }

  // Folders the repair had to make again go into the newest block, unless the
  // record has them already.
  void RecordNewFolders() {
    if (newFolders_.empty()) return;
    RecordBlocks blocks = SplitNewestBlock(frame_.recordText);
    for (const std::string& folder : newFolders_)
      if (ctx_.services.machine.files.DirectoryExists(folder)) blocks.newest.push_back("Make Dir: " + folder);
    blocks.newest.insert(blocks.newest.end(), blocks.older.begin(), blocks.older.end());
    const std::string& record = ctx_.services.process.installRecordPath;
    const std::string text = RecordText(blocks.newest);
    if (!ReplaceRecord(ctx_.services.machine.files, ctx_.services.machine.registry, record, text))
      LogQuietly(ctx_, "Repair: the record could not be saved: " + record);
  }

  RunContext& ctx_;
  const UninstallFrame& frame_;
  std::vector<std::string> recorded_;
  std::set<std::string> recordedFiles_, replacedFiles_, recordedFolders_;  // upper-cased
  FileList list_;
  struct Needed {
    std::string target;
    int rule;
    std::string md5;
  };
  std::vector<Needed> needed_;
  std::vector<std::string> packs_;
  std::set<std::string> packsSeen_;
  std::set<std::string> repaired_;  // upper-cased
  std::vector<std::string> newFolders_;
  std::string current_;
  DiskPrompt diskPrompt_{ctx_};
  bool failed_ = false;
};

}  // namespace

void RunRepair(RunContext& ctx, const UninstallFrame& frame) {
  ctx.progress.SetStatus(kRepairing);
  ctx.progress.ProcessMessages();
  RepairRun(ctx, frame).Run();
}

}  // namespace ostravel::engine
