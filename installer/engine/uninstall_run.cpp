#include "installer/engine/uninstall_run.h"

#include <set>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/record_digest.h"
#include "installer/engine/shared_files.h"

namespace ostravel::engine {
namespace {

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return UpperCase(a) < UpperCase(b); }
};

template <typename Fn>
void Phase(RunContext& ctx, const std::vector<UninstallAction>& actions, UninstallKind kind, Fn remove) {
  for (const UninstallAction& a : actions) {
    if (a.kind != kind) continue;
    remove(ctx, a.value);
    ctx.progress.SetPosition(ctx.progress.Position() + 1);
    // Paced by the surface: thousands of removals must not leave the window unanswered.
    ctx.progress.ProcessMessages();
  }
}

}  // namespace

void RemoveRecordedFile(RunContext& ctx, const std::string& path) {
  platform::FileSystem& files = ctx.services.machine.files;
  const auto info = files.Find(path);
  if (!info || info->IsDirectory()) return;
  // Archive only clears read-only, hidden and system; a file without them needs no call.
  if (info->attributes & (platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem))
    files.SetAttributes(path, platform::kAttrArchive);
  files.DeleteFile(path);
}

void RemoveRecordedValue(RunContext& ctx, std::string value) {
  const std::string rootName = NextToken(value, ';');
  const std::string subKey = NextToken(value, ';');
  const auto root = platform::RootKeyFromName(rootName);
  if (!root || !ctx.services.machine.registry.KeyExists(*root, subKey)) return;
  std::string old;
  if (ctx.services.machine.registry.ReadString(*root, subKey, value, old) != platform::RegRead::Missing)
    ctx.services.machine.registry.DeleteValue(*root, subKey, value);
}

// A key directly below a root ("Software", "SYSTEM") is never taken with all it
// holds, whatever a damaged record says.
void RemoveRecordedKey(RunContext& ctx, std::string value) {
  const std::string rootName = NextToken(value, ';');
  const auto root = platform::RootKeyFromName(rootName);
  const std::string key = Trim(CollapseRepeats(value, '\\'));
  const std::string inner = WithoutTrailing(key.size() && key[0] == '\\' ? key.substr(1) : key, '\\');
  if (!root || platform::NamesNoKey(inner) || inner.find('\\') == std::string::npos) return;
  if (ctx.services.machine.registry.KeyExists(*root, value)) ctx.services.machine.registry.DeleteKeyTree(*root, value);
}

void RemoveRecordedFolders(RunContext& ctx, const std::vector<UninstallAction>& actions) {
  std::set<std::string, NoCaseLess> folders;
  for (const UninstallAction& a : actions)
    if (a.kind == UninstallKind::Folder && ctx.services.machine.files.DirectoryExists(a.value)) folders.insert(a.value);
  // Last first: a folder goes before the folder that holds it.
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
    ctx.services.machine.files.RemoveDirectory(*it);
    ctx.progress.SetPosition(ctx.progress.Position() + 1);
    ctx.progress.ProcessMessages();
  }
}

void Uninstall(RunContext& ctx, const std::vector<UninstallAction>& actions) {
  ctx.progress.SetRange(0, int(actions.size()));
  ctx.progress.SetPosition(0);
  ctx.progress.SetBaseOffset(0);
  // Shared files of the system folder that other programs still count stay.
  const std::set<std::string> stillUsed = ReleaseSharedFiles(ctx, actions);
  Phase(ctx, actions, UninstallKind::File, [&stillUsed](RunContext& c, const std::string& path) {
    if (!stillUsed.count(UpperCase(path))) RemoveRecordedFile(c, path);
  });
  Phase(ctx, actions, UninstallKind::Shortcut, RemoveRecordedFile);
  Phase(ctx, actions, UninstallKind::RegistryValue, RemoveRecordedValue);
  Phase(ctx, actions, UninstallKind::RegistryKey, RemoveRecordedKey);
  const std::string record = ctx.services.process.installRecordPath;
  if (ctx.services.machine.files.FileExists(record)) {
    ctx.services.machine.files.SetAttributes(record, platform::kAttrArchive);
    if (ctx.services.machine.files.DeleteFile(record)) ForgetRecordDigest(ctx.services.machine.registry, record);
  }
  RemoveRecordedFolders(ctx, actions);
}

}  // namespace ostravel::engine
