// Any bytes as an installation record: the reader never crashes and never hands
// the uninstaller a path that is not absolute; a block saved onto such a record
// comes back first with its actions, and saving it again
// leaves the same bytes (one block per installation), also after saves made while
// the run worked.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "installer/engine/install_record.h"
#include "installer/engine/target_paths.h"
#include "installer/platform/fake/memory_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ostravel;
  using namespace ostravel::engine;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const UninstallAction& a : ParseInstallRecord(text)) {
    const bool path =
        a.kind == UninstallKind::File || a.kind == UninstallKind::Folder || a.kind == UninstallKind::Shortcut;
    if (a.value.empty() || (path && !IsUsableTargetPath(a.value))) std::abort();
  }

  platform::MemoryFileSystem fs;
  const std::string record = "C:\\App\\u.log";
  fs.AddFile(record, text);
  const RecordBlockHeader header{{2031, 5, 6, 7, 8, 9, 0}, "D:\\Setup", "App v1"};
  const model::InstallRecordEntries entries{{model::RecordAction::MakeDir, "C:\\App"},
                                            {model::RecordAction::CopyFile, "C:\\App\\a.exe"},
                                            {model::RecordAction::WriteRegValue, "HKEY_CURRENT_USER;K;v"}};
  if (!SaveInstallRecordBlock(fs, record, header, entries)) std::abort();
  const std::string saved = *fs.Contents(record);
  if (!SaveInstallRecordBlock(fs, record, header, entries) || *fs.Contents(record) != saved) std::abort();
  if (text.find(FormatRecordBlock(header, entries).front()) != std::string::npos) return 0;
  // Lines of the old record before its first block read as part of the new one.
  const std::vector<UninstallAction> first = ParseInstallRecord(saved, false);
  if (first.size() < entries.size() || first[0].value != "C:\\App" || first[1].value != "C:\\App\\a.exe" ||
      first[2].kind != UninstallKind::RegistryValue)
    std::abort();
  // Saved while the run worked (with its run-state lines), then finished: the same
  // bytes. Only on records that start with a block, as saved ones do: lines above the
  // first block could pass for the block's own next actions.
  if (!text.empty() && text[0] != '[') return 0;
  platform::MemoryFileSystem working;
  working.AddFile(record, text);
  RecordBlockHeader marked = header;
  marked.runState = {"Unfinished Run: Undo", "Pending Copy File: C:\\App\\b.exe"};
  if (!SaveInstallRecordBlock(working, record, marked, {entries.front()}) ||
      !SaveInstallRecordBlock(working, record, header, entries) || *working.Contents(record) != saved)
    std::abort();
  return 0;
}
