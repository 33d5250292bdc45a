#pragma once
// The file list: one record per file of the included install modules, with the
// update decision of its rule. Built before anything is written; the extraction
// events, the attribute step, the compatibility clean-up and the post-install
// commands read it.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "installer/engine/run_context.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/script_lists.h"

namespace ostravel::engine {

enum FileFlag : uint32_t { kFileUpdate = 1, kFileExists = 4, kFileLocked = 16, kFileComBatch = 32 };

enum UpdateRule : int {
  kRuleAlwaysReplace = 0,
  kRuleWriteWhenMissing = 1,
  kRuleReplaceOlder = 2,
  kRuleNeverWrite = 3,
};

// Rules 0 to 3 as written; any other value is read as "write only when missing",
// the reading that can never overwrite an installed file.
int EffectiveUpdateRule(int32_t scriptValue);

struct FileRecord {
  int index = 0;        // i of File<i> within its section
  int componentId = 0;  // File<i>.CompID
  std::string sourceName;
  std::string targetPath;       // expanded, normalised
  std::string targetAsWritten;  // File<i>.TargetFile as written
  int32_t size = 0;
  int32_t time = 0;  // packed DOS date-time of the file in the package
  std::string moduleVersion, productVersion;
  int rule = kRuleAlwaysReplace;
  uint32_t flags = 0;
  bool isProgram = false;
  bool readOnly = false, hidden = false, system = false, archive = false;
  // False when the expanded target is no usable path: nothing is written, run or
  // recorded for it.
  bool usableTarget = true;

  bool Has(FileFlag flag) const { return (flags & flag) != 0; }
};

class FileList {
 public:
  void Clear();
  void Add(FileRecord record);
  const std::vector<FileRecord>& Records() const { return records_; }
  // The first record whose source name equals the member's name, letter case
  // ignored; nullptr when there is none. Constant time: packages hold thousands.
  const FileRecord* FindBySourceName(const std::string& memberName) const;

 private:
  std::vector<FileRecord> records_;
  std::unordered_map<std::string, size_t> bySourceName_;  // upper-cased
};

// The title of the development environment whose open window lets a locked
// "gds32.dll" be left alone instead of failing the run.
extern const char* const kDevelopmentEnvironmentTitle;

// "CreateFilelist": reads the files sections of the included modules into `list`
// and decides every record. Steps the progress bar per file unless `noStep`. True
// when no file that would be replaced is locked. With `keepAttributes` the lock test
// leaves the files' attributes as they were, for the caller to clear them once it
// can undo that.
bool BuildFileList(RunContext& context, const TExtIniFile& script, FileList& list, bool noStep = false,
                   bool keepAttributes = false);

// The record as the script gives it, target expanded and normalised; flags unset.
FileRecord MakeFileRecord(const FileKeys& keys, const PathVariables& variables);

}  // namespace ostravel::engine
