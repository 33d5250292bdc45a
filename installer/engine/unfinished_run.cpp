#include "installer/engine/unfinished_run.h"

#include <set>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/install_record.h"
#include "installer/engine/record_blocks.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/target_paths.h"
#include "installer/engine/uninstall_kinds.h"

namespace ostravel::engine {

const char* const kUnfinishedRunFound =
    "A legutóbbi telepítés nem fejeződött be, ezért a program hiányos lehet. A Telepítő helyreállítja, ha az "
    "Eltávolítóban ezt választja: ";

namespace {

constexpr const char* kMarkLabel = "Unfinished Run: ";
constexpr const char* kUndo = "Undo";
constexpr const char* kReport = "Report";
constexpr const char* kPending = "Pending ";

std::string MarkOf(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (StartsWith(line, kMarkLabel)) return Trim(line.substr(std::string(kMarkLabel).size()));
  return "";
}

// The pending lines' actions that the block did not record itself: a file counted
// as shared must be released once only.
std::vector<std::string> UndoLines(const std::vector<std::string>& block) {
  std::set<std::string> recorded(block.begin(), block.end());
  std::vector<std::string> lines;
  for (const std::string& line : block) {
    if (StartsWith(line, kMarkLabel)) continue;
    if (!StartsWith(line, kPending)) {
      lines.push_back(line);
      continue;
    }
    const std::string action = line.substr(std::string(kPending).size());
    if (recorded.insert(action).second) lines.push_back(action);
  }
  return lines;
}

// Backup folders no block of the record lists (a run killed while it removed its
// copies, or before it recorded them) hold nothing anyone can restore from.
void RemoveStaleBackups(RunContext& ctx, const std::string& recordPath, const std::string& recordText) {
  platform::FileSystem& files = ctx.services.machine.files;
  const std::string root = BackupRoot(recordPath);
  if (!files.DirectoryExists(root)) return;
  const std::string listed = UpperCase(recordText);
  for (const std::string& name : files.List(root)) {
    const std::string folder = root + "\\" + name;
    if (!files.DirectoryExists(folder) || listed.find(UpperCase(folder) + "\\") != std::string::npos) continue;
    for (const std::string& file : files.List(folder)) {
      files.SetAttributes(folder + "\\" + file, platform::kAttrArchive);
      files.DeleteFile(folder + "\\" + file);
    }
    if (files.RemoveDirectory(folder)) LogQuietly(ctx, "Removed backup copies no installation lists: " + folder);
  }
  files.RemoveDirectory(root);  // only once empty
}

std::string RepairingKind(RunContext& ctx) {
  const UnInstallTypePageSection page =
      WithScript(ctx.services.machine.files, ctx.services.process.scriptPath,
                 [](TExtIniFile& script) { return ReadUnInstallTypePageSection(script); });
  if (page.repairEnabled) return "\"" + page.repair + "\".";
  return "\"" + page.unInstall + "\", majd telepítse újra a programot.";
}

}  // namespace

std::vector<std::string> UnfinishedMark(bool undo) { return {kMarkLabel + std::string(undo ? kUndo : kReport)}; }

std::string PendingLine(model::RecordAction kind, const std::string& value) {
  return kPending + std::string(RecordLabel(kind)) + value;
}

bool IsRunStateLine(const std::string& line) { return StartsWith(line, kMarkLabel) || StartsWith(line, kPending); }

std::string BlockForUndo(const std::string& recordText) {
  RecordBlocks blocks = SplitNewestBlock(recordText);
  std::vector<std::string> lines = UndoLines(blocks.newest);
  lines.insert(lines.end(), blocks.older.begin(), blocks.older.end());
  return RecordText(lines);
}

Recovery RecoverUnfinishedRun(RunContext& ctx, const CopyFilesPageSection& texts, const std::string& recordPath) {
  platform::FileSystem& files = ctx.services.machine.files;
  platform::Registry& registry = ctx.services.machine.registry;
  if (!IsUsableTargetPath(recordPath)) return Recovery::None;
  // A save the kill cut short left its temporary file beside the record.
  if (const std::string cut = recordPath + ".~tmp"; files.FileExists(cut)) {
    files.SetAttributes(cut, platform::kAttrArchive);
    files.DeleteFile(cut);
  }
  std::string text;
  const bool exists = files.FileExists(recordPath);
  if (exists && (!files.ReadFile(recordPath, text) || !RecordDigestMatches(registry, recordPath, text)))
    return Recovery::None;
  if (exists) SettleRecordDigest(registry, recordPath, text);
  RecordBlocks blocks = SplitNewestBlock(text);
  const std::string mark = MarkOf(blocks.newest);
  Recovery result = Recovery::None;
  if (mark == kUndo) {
    LogQuietly(ctx, "The last installation did not finish: undoing it from " + recordPath);
    const bool complete = UndoFailedRun(ctx, UninstallFrame{texts, BlockForUndo(text)}, recordPath);
    if (!complete) LogQuietly(ctx, "Undo: incomplete, see the lines above");
    result = complete ? Recovery::Undone : Recovery::UndoIncomplete;
    text.clear();
    if (files.FileExists(recordPath)) files.ReadFile(recordPath, text);
  } else if (mark == kReport) {
    const std::string message = kUnfinishedRunFound + RepairingKind(ctx);
    LogQuietly(ctx, "The last installation did not finish (" + recordPath + "): " + message);
    // Nobody is there to read a box in an unattended run: the log says it.
    if (!ctx.services.process.SilentMode())
      ctx.services.dialogs.ShowMessage(message, ui::MsgDlgType::Warning, ui::mbOK, ctx.services.process.dialogLanguage);
    // Said once: the mark goes, the block stays for the kind that repairs it.
    std::vector<std::string> lines;
    for (const std::string& line : blocks.newest)
      if (!IsRunStateLine(line)) lines.push_back(line);
    lines.insert(lines.end(), blocks.older.begin(), blocks.older.end());
    const std::string before = text;
    text = RecordText(lines);
    ReplaceRecord(files, registry, recordPath, text, &before);
    result = Recovery::Reported;
  }
  RemoveStaleBackups(ctx, recordPath, text);
  return result;
}

}  // namespace ostravel::engine
