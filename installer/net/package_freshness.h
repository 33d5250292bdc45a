#pragma once
// Whether the archive already in `CopyTargetFolder` is the one the update site
// offers: the ".dat.inf" description files of both folders and the copy's digest.
#include <optional>
#include <string>
#include <vector>

#include "installer/platform/files.h"

namespace ostravel::net {

// Digests read the file in pieces of this size.
inline constexpr size_t kDigestPieceSize = 102400;
// A description file is a few lines; more than this is not read.
inline constexpr size_t kMaxDescriptionBytes = 1024 * 1024;

// Lines of a description file; a missing file gives none.
std::vector<std::string> ReadDescriptionLines(platform::FileSystem& fs, const std::string& path);

// The first line that, trimmed and lower-cased, begins with "last-modified:",
// lower-cased whole; empty when there is none.
std::string LastModifiedLine(const std::vector<std::string>& lines);

// MD5 / SHA-256 of a file as upper-case hexadecimal; nullopt when it cannot be read.
std::optional<std::string> FileMd5(platform::FileSystem& fs, const std::string& path);
std::optional<std::string> FileSha256(platform::FileSystem& fs, const std::string& path);

// Both description files have lines, their "last-modified:" lines agree, and the
// archive in `copyTargetFolder` has the digest `packMd5`.
bool LocalCopyCurrent(platform::FileSystem& fs, const std::string& copyTargetFolder, const std::string& tempFolder,
                      const std::string& packName, const std::string& packMd5);

}  // namespace ostravel::net
