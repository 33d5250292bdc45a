#include "installer/engine/install_record.h"

#include "base/text.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

struct KindName {
  const char* name;
  UninstallKind kind;
};
constexpr KindName kKinds[] = {
    {"Make Dir", UninstallKind::Folder},          {"Copy File", UninstallKind::File},
    {"Clone File", UninstallKind::File},          {"Create Icon", UninstallKind::Shortcut},
    {"Create Reg Key", UninstallKind::RegistryKey}, {"Write Reg Value", UninstallKind::RegistryValue},
    {"Replace File", UninstallKind::ReplacedFile},
};

const KindName* KindOf(const std::string& name) {
  for (const auto& k : kKinds)
    if (name == k.name) return &k;
  return nullptr;
}

bool HasControlCharacters(const std::string& text) {
  for (unsigned char c : text)
    if (c < 32) return true;
  return false;
}

bool IsPathKind(UninstallKind kind) {
  return kind == UninstallKind::Folder || kind == UninstallKind::File || kind == UninstallKind::Shortcut ||
         kind == UninstallKind::ReplacedFile;
}

}  // namespace

std::vector<UninstallAction> ParseInstallRecord(const std::string& text, bool allBlocks) {
  std::vector<UninstallAction> actions;
  int blocks = 0;
  for (const std::string& line : SplitLines(text)) {
    if (StartsWith(line, "[")) {
      if (++blocks > 1 && !allBlocks) break;
      continue;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const KindName* kind = KindOf(line.substr(0, colon));
    if (!kind) continue;
    std::string value = Trim(line.substr(colon + 1));
    if (value.empty() || HasControlCharacters(value)) continue;
    // A damaged line must never turn into a path relative to wherever the
    // uninstaller happens to run.
    if (IsPathKind(kind->kind)) {
      value = NormalizeTargetPath(value);
      if (!IsUsableTargetPath(value)) continue;
    }
    actions.push_back({kind->kind, std::move(value)});
  }
  return actions;
}

std::vector<UninstallAction> ReadInstallRecord(platform::FileSystem& files, const std::string& recordPath,
                                               bool allBlocks) {
  std::string text;
  if (!files.FileExists(recordPath) || !files.ReadFile(recordPath, text)) return {};
  return ParseInstallRecord(text, allBlocks);
}

}  // namespace ostravel::engine
