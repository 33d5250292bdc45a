#pragma once
// The installation record: one block per installation, newest first, listing every
// folder, file, shortcut, registry key and value the installation made, so that
// the uninstaller can remove exactly those. CP1250 lines ended by CR LF.
#include <string>
#include <vector>

#include "base/datetime.h"
#include "installer/model/install_record_entries.h"
#include "installer/platform/platform.h"

namespace ostravel::engine {

// The lines before the actions of a block.
struct RecordBlockHeader {
  DateTime installStartTime;
  std::string source;  // the installer's own folder, without a trailing "\"
  std::string title;   // the application name, up to its first ";"
  // While the run works: its unfinished mark and what it may still create. They
  // follow the title; the block's final save goes without them.
  std::vector<std::string> runState = {};
};

// "Make Dir: " ... "Write Reg Value: ".
const char* RecordLabel(model::RecordAction kind);
std::vector<std::string> FormatRecordBlock(const RecordBlockHeader& header, const model::InstallRecordEntries& entries);

// Saves this installation's block: the block an earlier save of the same
// installation left (found by its first line) is replaced where it stands,
// otherwise the block goes on top of the blocks already there. The file is
// replaced in one step (temporary file, then rename), so a run that dies at any
// point leaves the previous record or the new one, never a cut one. A record that
// exists but cannot be read is left as it is. Best effort: false when it could
// not be saved; nothing is shown. With `digests` the record's digest is kept there.
bool SaveInstallRecordBlock(platform::FileSystem& files, const std::string& recordPath,
                            const RecordBlockHeader& header, const model::InstallRecordEntries& entries,
                            platform::Registry* digests = nullptr);

// What the uninstaller removes, by its own numbering. A replaced file ("Replace
// File", which the documented reader passes over) is never removed; it only counts
// in the use counts of shared files, and Repair puts it back when it is missing.
enum class UninstallKind { Folder = 0, File = 1, Shortcut = 2, RegistryKey = 3, RegistryValue = 4, ReplacedFile = 5 };

struct UninstallAction {
  UninstallKind kind = UninstallKind::File;
  std::string value;
};

// Every action line of the record in file order (newest block first), or of its
// first block only. A missing record gives an empty list. A line that begins with
// "[" starts a block; lines that name no action, lack the colon, carry an empty
// value or control characters are passed over, and so are file, shortcut and
// folder values that are no absolute path.
std::vector<UninstallAction> ReadInstallRecord(platform::FileSystem& files, const std::string& recordPath,
                                               bool allBlocks = true);
// The same from the record's text.
std::vector<UninstallAction> ParseInstallRecord(const std::string& text, bool allBlocks = true);

}  // namespace ostravel::engine
