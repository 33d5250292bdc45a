#include "installer/engine/file_list.h"

#include "base/cp1250.h"
#include "base/text.h"
#include "base/version_text.h"
#include "installer/engine/installed_file.h"
#include "installer/engine/target_paths.h"
#include "installer/engine/uninstall_kinds.h"
#include "installer/script/script_lists.h"

namespace ostravel::engine {

const char* const kDevelopmentEnvironmentTitle = "Belloro Fejlesztőkörnyezet";

int EffectiveUpdateRule(int32_t scriptValue) {
  return scriptValue >= kRuleAlwaysReplace && scriptValue <= kRuleNeverWrite ? int(scriptValue)
                                                                             : int(kRuleWriteWhenMissing);
}

void FileList::Clear() {
  records_.clear();
  bySourceName_.clear();
}

void FileList::Add(FileRecord record) {
  bySourceName_.emplace(UpperCase(record.sourceName), records_.size());  // the first keeps the name
  records_.push_back(std::move(record));
}

const FileRecord* FileList::FindBySourceName(const std::string& memberName) const {
  auto it = bySourceName_.find(UpperCase(memberName));
  return it == bySourceName_.end() ? nullptr : &records_[it->second];
}

FileRecord MakeFileRecord(const FileKeys& keys, const PathVariables& variables) {
  FileRecord r;
  r.index = keys.number;
  r.componentId = keys.compId;
  r.sourceName = keys.sourceFile;
  r.targetAsWritten = keys.targetFile;
  r.targetPath = NormalizeTargetPath(variables.ExpandVariables(keys.targetFile));
  r.usableTarget = IsUsableTargetPath(r.targetPath);
  r.size = keys.fileSize;
  r.time = keys.fileTime;
  r.moduleVersion = keys.moduleVersion;
  r.productVersion = keys.productVersion;
  r.rule = EffectiveUpdateRule(keys.fileUpdateRule);
  r.isProgram = UpperCase(ExtensionOf(r.targetPath)) == ".EXE";
  if (UpperCase(FileNameOf(r.targetPath)) == "REGISTER_COM_SERVERS.BAT") r.flags |= kFileComBatch;
  r.readOnly = keys.readOnly;
  r.hidden = keys.hidden;
  r.system = keys.system;
  r.archive = keys.archive;
  return r;
}

namespace {

void Decide(FileRecord& r, const InstalledFile& installed) {
  if (!r.usableTarget) return;  // never written
  if (installed.exists) {
    r.flags |= kFileExists;
  } else {
    r.flags |= kFileUpdate;
  }
  if (r.rule == kRuleAlwaysReplace) r.flags |= kFileUpdate;
  if (r.rule == kRuleReplaceOlder) {
    if (installed.time < r.time || CompareVersionText(installed.version, r.moduleVersion) < 0) r.flags |= kFileUpdate;
  }
}

// Attributes the lock test cleared: the record's position and what it held.
using ClearedAttributes = std::vector<std::pair<size_t, uint32_t>>;

// Only files about to be replaced are tried: a kept file may well be open.
bool PassesLockTest(RunContext& ctx, FileRecord& r, size_t position, ClearedAttributes& cleared, bool keepAttributes) {
  if (!r.Has(kFileExists) || !r.Has(kFileUpdate)) return true;
  platform::FileSystem& files = ctx.services.machine.files;
  if (keepAttributes) {
    if (!HeldOpen(files, r.targetPath)) return true;
  } else {
    if (const auto info = files.Find(r.targetPath)) cleared.emplace_back(position, info->attributes);
    files.SetAttributes(r.targetPath, 0);
    if (files.CanOpenExclusive(r.targetPath)) return true;
  }
  r.flags &= ~uint32_t(kFileUpdate);
  if (LowerCase(FileNameOf(r.targetPath)) == "gds32.dll" &&
      ctx.services.machine.windows.WindowWithTitleExists(kDevelopmentEnvironmentTitle))
    return true;
  r.flags |= kFileLocked;
  return false;
}

void AddDebugInfo(RunContext& ctx, const FileRecord& r, const InstalledFile& installed) {
  auto add = [&](const std::string& line) {
    AddDebugLine(ctx.services.process.debugInfoList, ctx.services.process.DebugInfoMode(), line);
  };
  auto yesNo = [](bool b) { return b ? "True" : "False"; };
  add("File: " + r.targetPath);
  add("TimeOnDisk: " + IntToStr(installed.time));
  add("TimeInPack: " + IntToStr(r.time));
  add("VersionOnDisk: " + installed.version);
  add("VersionInPack: " + r.moduleVersion);
  add(std::string("Locked: ") + yesNo(r.Has(kFileLocked)));
  add(std::string("Update: ") + yesNo(r.Has(kFileUpdate)));
  add("");
}

}  // namespace

bool BuildFileList(RunContext& ctx, const TExtIniFile& script, FileList& list, bool noStep, bool keepAttributes) {
  ctx.services.variables.SetCurrentDestination(ctx.choices.destination);
  list.Clear();
  bool result = true;
  ClearedAttributes cleared;
  for (const model::InstallModuleEntry& module : ctx.selection.modules) {
    if (!module.included) continue;
    for (const FileKeys& keys : ReadFileList(script, module.name, [&] { ctx.progress.ProcessMessages(); })) {
      FileRecord r = MakeFileRecord(keys, ctx.services.variables);
      if (r.usableTarget && LowerCase(FileNameOf(r.targetPath)) == "install.exe")
        ctx.finish.installerProgramPath = r.targetPath;
      const bool needVersion = r.rule == kRuleReplaceOlder || ctx.services.process.DebugInfoMode();
      const InstalledFile installed =
          r.usableTarget
              ? InspectInstalledFile(ctx.services.machine.files, ctx.services.machine.system, r.targetPath, needVersion)
              : InstalledFile{};
      Decide(r, installed);
      if (!PassesLockTest(ctx, r, list.Records().size(), cleared, keepAttributes)) result = false;
      if (!noStep) ctx.progress.SetPosition(ctx.progress.Position() + 1);
      if (ctx.services.process.DebugInfoMode()) AddDebugInfo(ctx, r, installed);
      list.Add(std::move(r));
      ctx.progress.ProcessMessages();
    }
  }
  // A file that will not be written keeps its attributes, and a run that stops on
  // locked files has changed nothing.
  for (const auto& [position, attributes] : cleared) {
    const FileRecord& r = list.Records()[position];
    if (!result || !r.Has(kFileUpdate)) ctx.services.machine.files.SetAttributes(r.targetPath, attributes);
  }
  return result;
}

}  // namespace ostravel::engine
