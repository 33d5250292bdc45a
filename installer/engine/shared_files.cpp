#include "installer/engine/shared_files.h"

#include <map>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {

bool InSystemFolder(const PathVariables& variables, const std::string& path) {
  const std::string folder = UpperCase(WithoutTrailing(variables.ExpandVariables("$SystemFolder$"), '\\'));
  return !folder.empty() && StartsWith(UpperCase(NormalizeTargetPath(path)), folder + "\\");
}

void CountSharedFile(RunContext& ctx, const std::string& path, bool existedBefore) {
  if (!InSystemFolder(ctx.services.variables, path)) return;
  platform::Registry& registry = ctx.services.machine.registry;
  uint32_t count = 0;
  if (registry.ReadDword(platform::RootKey::LocalMachine, kSharedDllsKey, path, count) != platform::RegRead::Ok)
    count = existedBefore ? 1 : 0;
  // Without the rights for the key the file is simply not counted.
  if (!registry.KeyExists(platform::RootKey::LocalMachine, kSharedDllsKey))
    registry.CreateKey(platform::RootKey::LocalMachine, kSharedDllsKey);
  if (!registry.WriteDword(platform::RootKey::LocalMachine, kSharedDllsKey, path, count + 1))
    LogQuietly(ctx, "Shared file not counted: " + path);
}

std::set<std::string> ReleaseSharedFiles(RunContext& ctx, const std::vector<UninstallAction>& actions) {
  platform::Registry& registry = ctx.services.machine.registry;
  std::map<std::string, std::pair<std::string, uint32_t>> counts;  // upper-cased path -> path, count
  for (const UninstallAction& a : actions) {
    if ((a.kind != UninstallKind::File && a.kind != UninstallKind::ReplacedFile) ||
        !InSystemFolder(ctx.services.variables, a.value))
      continue;
    const std::string key = UpperCase(a.value);
    auto it = counts.find(key);
    if (it == counts.end()) {
      uint32_t count = 0;
      if (registry.ReadDword(platform::RootKey::LocalMachine, kSharedDllsKey, a.value, count) != platform::RegRead::Ok)
        continue;
      it = counts.emplace(key, std::make_pair(a.value, count)).first;
    }
    if (it->second.second > 0) --it->second.second;
  }
  std::set<std::string> stillUsed;
  for (const auto& [key, entry] : counts) {
    const auto& [path, count] = entry;
    if (count == 0) {
      registry.DeleteValue(platform::RootKey::LocalMachine, kSharedDllsKey, path);
      continue;
    }
    registry.WriteDword(platform::RootKey::LocalMachine, kSharedDllsKey, path, count);
    stillUsed.insert(key);
    LogQuietly(ctx, Format("Shared file kept, %u other users count it: ", count) + path);
  }
  return stillUsed;
}

}  // namespace ostravel::engine
