#include "installer/engine/uninstall_run.h"

#include <set>

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::engine {
namespace {

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return UpperCase(a) < UpperCase(b); }
};

class Removal {
 public:
  Removal(RunContext& ctx, const std::vector<UninstallAction>& actions) : ctx_(ctx), actions_(actions) {}

  template <typename Fn>
  void Phase(UninstallKind kind, Fn remove) {
    for (const UninstallAction& a : actions_) {
      if (a.kind != kind) continue;
      remove(a.value);
      ctx_.progress.SetPosition(ctx_.progress.Position() + 1);
    }
  }

  void DeleteFile(const std::string& path) {
    platform::FileSystem& files = ctx_.machine.files;
    const auto info = files.Find(path);
    if (!info || info->IsDirectory()) return;
    // Archive only clears read-only, hidden and system; a file without them needs no call.
    if (info->attributes & (platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem))
      files.SetAttributes(path, platform::kAttrArchive);
    files.DeleteFile(path);
  }

  void DeleteValue(std::string value) {
    const std::string rootName = NextToken(value, ';');
    const std::string subKey = NextToken(value, ';');
    const auto root = platform::RootKeyFromName(rootName);
    if (!root || !ctx_.machine.registry.KeyExists(*root, subKey)) return;
    std::string old;
    if (ctx_.machine.registry.ReadString(*root, subKey, value, old) != platform::RegRead::Missing)
      ctx_.machine.registry.DeleteValue(*root, subKey, value);
  }

  // A key directly below a root ("Software", "SYSTEM") is never taken with all it
  // holds, whatever a damaged record says.
  void DeleteKey(std::string value) {
    const std::string rootName = NextToken(value, ';');
    const auto root = platform::RootKeyFromName(rootName);
    const std::string key = Trim(CollapseRepeats(value, '\\'));
    const std::string inner = WithoutTrailing(key.size() && key[0] == '\\' ? key.substr(1) : key, '\\');
    if (!root || platform::NamesNoKey(inner) || inner.find('\\') == std::string::npos) return;
    if (ctx_.machine.registry.KeyExists(*root, value)) ctx_.machine.registry.DeleteKeyTree(*root, value);
  }

  void RemoveFolders() {
    std::set<std::string, NoCaseLess> folders;
    for (const UninstallAction& a : actions_)
      if (a.kind == UninstallKind::Folder && ctx_.machine.files.DirectoryExists(a.value)) folders.insert(a.value);
    // Last first: a folder goes before the folder that holds it.
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
      ctx_.machine.files.RemoveDirectory(*it);
      ctx_.progress.SetPosition(ctx_.progress.Position() + 1);
    }
  }

 private:
  RunContext& ctx_;
  const std::vector<UninstallAction>& actions_;
};

}  // namespace

void Uninstall(RunContext& ctx, const std::vector<UninstallAction>& actions) {
  ctx.progress.SetRange(0, int(actions.size()));
  ctx.progress.SetPosition(0);
  ctx.progress.SetBaseOffset(0);
  Removal removal(ctx, actions);
  removal.Phase(UninstallKind::File, [&](const std::string& v) { removal.DeleteFile(v); });
  removal.Phase(UninstallKind::Shortcut, [&](const std::string& v) { removal.DeleteFile(v); });
  removal.Phase(UninstallKind::RegistryValue, [&](const std::string& v) { removal.DeleteValue(v); });
  removal.Phase(UninstallKind::RegistryKey, [&](const std::string& v) { removal.DeleteKey(v); });
  const std::string record = ctx.process.installRecordPath;
  if (ctx.machine.files.FileExists(record)) {
    ctx.machine.files.SetAttributes(record, platform::kAttrArchive);
    ctx.machine.files.DeleteFile(record);
  }
  removal.RemoveFolders();
}

}  // namespace ostravel::engine
