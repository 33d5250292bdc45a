#include "installer/engine/record_blocks.h"

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

constexpr const char* kBackupFileLabel = "Backup File:";
constexpr const char* kBackupValueLabel = "Backup Reg Value:";

// The value after the label, split at its last "|": paths and hexadecimal digits
// never hold one, value names may.
bool SplitBackupLine(const std::string& line, const char* label, std::string& left, std::string& right) {
  if (!StartsWith(line, label)) return false;
  const std::string value = Trim(line.substr(std::string(label).size()));
  const size_t bar = value.rfind('|');
  if (bar == std::string::npos || bar == 0) return false;
  left = value.substr(0, bar);
  right = value.substr(bar + 1);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool DecodeHex(const std::string& hex, std::string& out) {
  if (hex.size() % 2) return false;
  out.clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out += char(hi * 16 + lo);
  }
  return true;
}

}  // namespace

RecordBlocks SplitNewestBlock(const std::string& recordText) {
  RecordBlocks blocks;
  int starts = 0;
  for (std::string& line : SplitLines(recordText)) {
    if (StartsWith(line, "[")) ++starts;
    (starts > 1 ? blocks.older : blocks.newest).push_back(std::move(line));
  }
  return blocks;
}

std::vector<UninstallAction> ActionsOf(const std::vector<std::string>& lines) {
  return ParseInstallRecord(RecordText(lines));
}

std::string BlockSource(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (StartsWith(line, "Source:")) return Trim(line.substr(7));
  return "";
}

BlockBackups BackupsOf(const std::vector<std::string>& lines, const std::string& recordPath) {
  BlockBackups backups;
  const std::string root = UpperCase(BackupRoot(recordPath)) + "\\";
  std::string left, right;
  for (const std::string& line : lines) {
    if (SplitBackupLine(line, kBackupFileLabel, left, right)) {
      FileBackup b{NormalizeTargetPath(left), NormalizeTargetPath(right)};
      if (IsUsableTargetPath(b.target) && IsUsableTargetPath(b.copy) && StartsWith(UpperCase(b.copy), root))
        backups.files.push_back(std::move(b));
    } else if (SplitBackupLine(line, kBackupValueLabel, left, right)) {
      ValueBackup b{left, ""};
      if (DecodeHex(right, b.data)) backups.values.push_back(std::move(b));
    }
  }
  return backups;
}

std::string FileBackupValue(const std::string& target, const std::string& copy) { return target + "|" + copy; }

std::string ValueBackupValue(const std::string& value, const std::string& data) {
  return value + "|" + UpperHex(reinterpret_cast<const unsigned char*>(data.data()), data.size());
}

std::string BackupRoot(const std::string& recordPath) { return NormalizeTargetPath(recordPath) + ".backups"; }

std::string BlockBackupFolder(const std::string& recordPath, const DateTime& t) {
  return BackupRoot(recordPath) + "\\" +
         Format("%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::string RecordText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

}  // namespace ostravel::engine
