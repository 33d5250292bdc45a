#pragma once
// The files of a product folder as the setup script must describe them: names in
// CP1250, sizes that fit the script's 32 bits, DOS times, digests and versions.
// Everything the script cannot carry is refused, naming the file.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/media/pe_version.h"

namespace ostravel::media {

struct ProductFile {
  std::string rel;  // path below the product folder, CP1250, "\" separated
  std::filesystem::path path;
  uint64_t size = 0;
  uint32_t dosTime = 0;  // last write, local time, packed
  std::string md5;
  std::optional<PeVersion> version;
};

struct ProductScan {
  std::vector<ProductFile> files;    // sorted by rel
  std::vector<std::string> refused;  // UTF-8 messages, one per refused file or folder
  std::string error;                 // the folder itself cannot be read
};

// Symbolic links are refused, never followed: a medium holds the files themselves.
ProductScan ScanProduct(const std::filesystem::path& root);

// UTF-8 into CP1250 when every character has a CP1250 byte.
bool ToCp1250Exactly(std::string_view utf8, std::string& cp1250);

// The packed local time of a file's last write; nullopt outside 1980..2107, the
// range the packed form can hold.
std::optional<uint32_t> DosTimeOf(std::filesystem::file_time_type time);

}  // namespace ostravel::media
