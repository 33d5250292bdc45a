#pragma once
// The ordered actions of this installation, written to the installation record.
// The pages (a created destination folder) and the run's steps append to it.
#include <string>
#include <vector>

namespace ostravel::model {

enum class RecordAction {
  MakeDir = 0,
  CopyFile = 1,
  CloneFile = 2,
  CreateIcon = 3,
  CreateRegKey = 4,
  WriteRegValue = 5,
  // Only with [Configuration] KeepBackups: what a replaced file or value held before.
  BackupFile = 6,      // target "|" backup copy
  BackupRegValue = 7,  // root ";" subkey ";" value name "|" the old data in hexadecimal
  // A file that was there before and was written over: the uninstall leaves it.
  ReplaceFile = 8,
};

struct InstallRecordEntry {
  RecordAction kind = RecordAction::MakeDir;
  std::string value;
};

using InstallRecordEntries = std::vector<InstallRecordEntry>;

}  // namespace ostravel::model
