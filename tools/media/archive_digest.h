#pragma once
// What a package archive holds, read with the installer's own reader: every
// member's stored name, size, DOS time and MD5 digest, without writing a file.
#include <cstdint>
#include <string>
#include <vector>

#include "installer/platform/platform.h"

namespace ostravel::media {

struct MemberFacts {
  std::string name;  // stored name, CP1250
  uint64_t size = 0;
  int32_t time = 0;  // the stored packed DOS date-time
  std::string md5;   // 32 upper-case hexadecimal digits
};

struct ArchiveFacts {
  std::vector<MemberFacts> members;  // in archive order
  std::string error;                 // empty when the whole archive was read
};

// Following volumes are taken from beside the archive; a missing one is an error.
ArchiveFacts ReadArchiveFacts(platform::FileSystem& files, const std::string& archivePath);

// The digest of a whole file; empty when it cannot be read.
std::string FileMd5(platform::FileSystem& files, const std::string& path);

}  // namespace ostravel::media
