#pragma once
// The installation record lists every path an elevated uninstall deletes, and it may
// lie where a standard user can write. Each save keeps the record's SHA-256 where only
// an administrator can write (HKEY_LOCAL_MACHINE, 32-bit view); a record that no longer
// matches is not trusted. A record saved before digests were kept has none and is
// trusted as before.
#include <string>

#include "installer/platform/files.h"
#include "installer/platform/registry.h"

namespace ostravel::engine {

extern const char* const kRecordDigestKey;

void KeepRecordDigest(platform::Registry& registry, const std::string& recordPath, const std::string& text);
// Replaces the record with `text` and keeps its digest. While the file changes, the
// digests of both texts are kept, so that a run killed between the two writes leaves
// a record that is still trusted. `before` is the file's text when the caller has it.
bool ReplaceRecord(platform::FileSystem& files, platform::Registry& registry, const std::string& recordPath,
                   const std::string& text, const std::string* before = nullptr);
// After a run killed in the middle of a save: the digest of the text that is there.
void SettleRecordDigest(platform::Registry& registry, const std::string& recordPath, const std::string& text);
// Removes the record's digest, and the key once it holds none.
void ForgetRecordDigest(platform::Registry& registry, const std::string& recordPath);
// False only when a digest is kept for the record and the text does not match it.
bool RecordDigestMatches(platform::Registry& registry, const std::string& recordPath, const std::string& text);

}  // namespace ostravel::engine
