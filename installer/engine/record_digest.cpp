#include "installer/engine/record_digest.h"

#include "base/cp1250.h"
#include "base/sha256.h"
#include "base/text.h"
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

bool ReplaceRecord(platform::FileSystem& files, platform::Registry& registry, const std::string& recordPath,
                   const std::string& text, const std::string* before) {
  std::string old;
  const bool exists = files.FileExists(recordPath);
  if (exists && !before && files.ReadFile(recordPath, old)) before = &old;
  const std::string next = Sha256Hex(text);
  if (exists && before)
    registry.WriteString(RootKey::LocalMachine, kRecordDigestKey, ValueName(recordPath),
                         Sha256Hex(*before) + " " + next);
  if (!files.ReplaceFile(recordPath, text)) {
    if (exists && before) KeepRecordDigest(registry, recordPath, *before);
    return false;
  }
  KeepRecordDigest(registry, recordPath, text);
  return true;
}

void SettleRecordDigest(platform::Registry& registry, const std::string& recordPath, const std::string& text) {
  std::string kept;
  if (registry.ReadString(RootKey::LocalMachine, kRecordDigestKey, ValueName(recordPath), kept) == RegRead::Ok &&
      kept.find(' ') != std::string::npos && RecordDigestMatches(registry, recordPath, text))
    KeepRecordDigest(registry, recordPath, text);
}

void ForgetRecordDigest(platform::Registry& registry, const std::string& recordPath) {
  registry.DeleteValue(RootKey::LocalMachine, kRecordDigestKey, ValueName(recordPath));
  platform::DeleteEmptyKeys(registry, RootKey::LocalMachine, kRecordDigestKey);
}

bool RecordDigestMatches(platform::Registry& registry, const std::string& recordPath, const std::string& text) {
  std::string kept;
  if (registry.ReadString(RootKey::LocalMachine, kRecordDigestKey, ValueName(recordPath), kept) != RegRead::Ok)
    return true;
  const std::string digest = Sha256Hex(text);
  // Two digests while a save was under way: the text of either side is the record's.
  for (std::string rest = kept; !rest.empty();)
    if (SameText(NextToken(rest, ' '), digest)) return true;
  return false;
}

}  // namespace ostravel::engine
