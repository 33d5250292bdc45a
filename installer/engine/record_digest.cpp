#include "installer/engine/record_digest.h"

#include "base/cp1250.h"
#include "base/sha256.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {

using platform::RegRead;
using platform::RootKey;

const char* const kRecordDigestKey = "Software\\Ostravel\\InstallRecords";

namespace {

// One value per record, named by its path as the file system compares it.
std::string ValueName(const std::string& recordPath) { return UpperCase(NormalizeTargetPath(recordPath)); }

}  // namespace

void KeepRecordDigest(platform::Registry& registry, const std::string& recordPath, const std::string& text) {
  registry.WriteString(RootKey::LocalMachine, kRecordDigestKey, ValueName(recordPath), Sha256Hex(text));
}

void ForgetRecordDigest(platform::Registry& registry, const std::string& recordPath) {
  registry.DeleteValue(RootKey::LocalMachine, kRecordDigestKey, ValueName(recordPath));
  // The key and its owner go once empty; DeleteKey itself refuses a key with subkeys.
  for (std::string key = kRecordDigestKey; key.find('\\') != std::string::npos; key.erase(key.rfind('\\'))) {
    if (!registry.KeyExists(RootKey::LocalMachine, key)) continue;
    if (!registry.ValueNames(RootKey::LocalMachine, key).empty() || !registry.DeleteKey(RootKey::LocalMachine, key))
      return;
  }
}

bool RecordDigestMatches(platform::Registry& registry, const std::string& recordPath, const std::string& text) {
  std::string kept;
  if (registry.ReadString(RootKey::LocalMachine, kRecordDigestKey, ValueName(recordPath), kept) != RegRead::Ok)
    return true;
  return SameText(kept, Sha256Hex(text));
}

}  // namespace ostravel::engine
