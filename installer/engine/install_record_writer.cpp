#include "installer/engine/install_record.h"

#include "base/regional.h"
#include "base/text.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/target_paths.h"
#include "installer/engine/unfinished_run.h"

namespace ostravel::engine {
namespace {

// The first line, "Installation Started:", "Source:" and "Title:".
constexpr size_t kHeaderLines = 4;

std::string BlockFirstLine(const DateTime& start) { return "[" + FormatGeneralFloat(ToDateTimeNumber(start)) + "]"; }

}  // namespace

const char* RecordLabel(model::RecordAction kind) {
  switch (kind) {
    case model::RecordAction::MakeDir:
      return "Make Dir: ";
    case model::RecordAction::CopyFile:
      return "Copy File: ";
    case model::RecordAction::CloneFile:
      return "Clone File: ";
    case model::RecordAction::CreateIcon:
      return "Create Icon: ";
    case model::RecordAction::CreateRegKey:
      return "Create Reg Key: ";
    case model::RecordAction::WriteRegValue:
      return "Write Reg Value: ";
    case model::RecordAction::BackupFile:
      return "Backup File: ";
    case model::RecordAction::BackupRegValue:
      return "Backup Reg Value: ";
    case model::RecordAction::ReplaceFile:
      return "Replace File: ";
  }
  return "";
}

std::vector<std::string> FormatRecordBlock(const RecordBlockHeader& header,
                                           const model::InstallRecordEntries& entries) {
  std::vector<std::string> lines;
  lines.reserve(entries.size() + 4);
  lines.push_back(BlockFirstLine(header.installStartTime));
  lines.push_back("Installation Started: " + FormatDateTimeText(header.installStartTime));
  lines.push_back("Source: " + header.source);
  lines.push_back("Title: " + header.title);
  lines.insert(lines.end(), header.runState.begin(), header.runState.end());
  for (const auto& e : entries) lines.push_back(RecordLabel(e.kind) + e.value);
  return lines;
}

bool SaveInstallRecordBlock(platform::FileSystem& files, const std::string& recordPath, const RecordBlockHeader& header,
                            const model::InstallRecordEntries& entries, platform::Registry* digests) {
  if (Trim(recordPath).empty()) return false;
  std::vector<std::string> block = FormatRecordBlock(header, entries);
  std::vector<std::string> old;
  std::string text;
  // A record that is there but cannot be read is never replaced: the blocks of
  // every earlier installation would go with it.
  if (files.FileExists(recordPath) && !files.ReadFile(recordPath, text)) return false;
  old = SplitLines(text);

  std::vector<std::string> lines;
  lines.reserve(block.size() + old.size());
  size_t own = 0;
  while (own < old.size() && old[own] != block.front()) ++own;
  if (own == old.size()) {
    lines = std::move(block);
    lines.insert(lines.end(), old.begin(), old.end());
  } else {
    // An installation only ever adds actions: its earlier block is the start of
    // the new one, line for line, but for the run-state lines right after the
    // title, which come and go. What follows it is kept, whatever it is.
    size_t next = own + 1, i = 1;
    auto same = [&] { return next < old.size() && i < block.size() && old[next] == block[i]; };
    while (i < kHeaderLines && same()) ++next, ++i;
    if (i == kHeaderLines) {
      while (next < old.size() && IsRunStateLine(old[next])) ++next;
      while (i < block.size() && IsRunStateLine(block[i])) ++i;
    }
    while (same()) ++next, ++i;
    lines.assign(old.begin(), old.begin() + long(own));
    lines.insert(lines.end(), block.begin(), block.end());
    lines.insert(lines.end(), old.begin() + long(next), old.end());
  }

  std::string out;
  size_t bytes = 0;
  for (const auto& l : lines) bytes += l.size() + 2;
  out.reserve(bytes);
  for (const auto& l : lines) out.append(l).append("\r\n");
  const std::string folder = FolderOf(recordPath);
  if (!folder.empty() && !files.DirectoryExists(folder) && !files.CreateDirectories(folder)) return false;
  return digests ? ReplaceRecord(files, *digests, recordPath, out, &text) : files.ReplaceFile(recordPath, out);
}

}  // namespace ostravel::engine
