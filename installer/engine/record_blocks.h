#pragma once
// The installation record seen block by block, for the kinds that treat the newest
// installation apart from the older ones (Rollback, Repair), and the backup lines an
// installation with [Configuration] KeepBackups adds. The documented reader knows
// only its six labels and passes the backup lines over.
#include <string>
#include <vector>

#include "base/datetime.h"
#include "installer/engine/install_record.h"

namespace ostravel::engine {

struct RecordBlocks {
  // The newest block: its lines up to the next block's first line (lines before
  // the first block line count as the newest block's, as the reader takes them).
  std::vector<std::string> newest;
  // Every older block, in file order.
  std::vector<std::string> older;
};
RecordBlocks SplitNewestBlock(const std::string& recordText);

// The actions of some record lines, as ParseInstallRecord reads them.
std::vector<UninstallAction> ActionsOf(const std::vector<std::string>& lines);
// The value of the block's "Source: " line, "" when it has none.
std::string BlockSource(const std::vector<std::string>& lines);

struct FileBackup {
  std::string target;  // the file that was replaced
  std::string copy;    // its content before
};
struct ValueBackup {
  std::string value;  // root ";" subkey ";" value name, as "Write Reg Value" gives it
  std::string data;   // the string it held before
};
struct BlockBackups {
  std::vector<FileBackup> files;
  std::vector<ValueBackup> values;
  bool empty() const { return files.empty() && values.empty(); }
};

// The backups the lines list. A file backup whose copy lies outside the record's
// backup folder, or that names no usable path, is passed over: a damaged record
// must never make a rollback copy some other file over an installed one.
BlockBackups BackupsOf(const std::vector<std::string>& lines, const std::string& recordPath);

// Record entry values of the two backup kinds.
std::string FileBackupValue(const std::string& target, const std::string& copy);
std::string ValueBackupValue(const std::string& value, const std::string& data);

// The record's backup folder, beside it: the record path and ".backups".
std::string BackupRoot(const std::string& recordPath);
// One installation's folder within it, named by its start time.
std::string BlockBackupFolder(const std::string& recordPath, const DateTime& installStartTime);

// The record's lines as the file holds them: CR LF after each.
std::string RecordText(const std::vector<std::string>& lines);

}  // namespace ostravel::engine
