#include "installer/platform/registry.h"

namespace ostravel::platform {
namespace {
constexpr struct {
  RootKey root;
  const char* name;
} kRoots[] = {
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT"},     {RootKey::CurrentUser, "HKEY_CURRENT_USER"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE"},   {RootKey::Users, "HKEY_USERS"},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG"},
};
}  // namespace

std::optional<RootKey> RootKeyFromName(const std::string& name) {
  for (const auto& r : kRoots)
    if (name == r.name) return r.root;
  return std::nullopt;
}

const char* RootKeyName(RootKey root) {
  for (const auto& r : kRoots)
    if (r.root == root) return r.name;
  return "";
}

bool NamesNoKey(const std::string& subKey) { return subKey.find_first_not_of("\\ ") == std::string::npos; }

void DeleteEmptyKeys(Registry& registry, RootKey root, const std::string& subKey) {
  // DeleteKey itself refuses a key with subkeys; a key right below the root stays.
  for (std::string key = subKey; key.find('\\') != std::string::npos; key.erase(key.rfind('\\'))) {
    if (!registry.KeyExists(root, key)) continue;
    if (!registry.ValueNames(root, key).empty() || !registry.DeleteKey(root, key)) return;
  }
}

}  // namespace ostravel::platform
