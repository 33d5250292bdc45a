#pragma once
// ostravel-media site: the maker's update site from a medium. OUT/<year>/[dos/]
// receives download.inf (the medium's script with every component's PackSize,
// PackMD5Checksum and PackSHA256Checksum taken from the real archive), the archives
// with their volumes, one "<pack>.dat.inf" description per archive with a
// "Last-Modified:" line, and firebird.dat when the medium has one. The folder is
// built beside its place and renamed into it, so a site never serves half of one.
// With a signing key, "download.inf.sig" holds the base64 signature (r || s) of
// download.inf's bytes as written.
#include <filesystem>
#include <string>
#include <vector>

namespace ostravel::media {

struct SiteOptions {
  std::filesystem::path mediumDir, outDir;
  std::string year;  // four digits
  bool dos = false;
  std::filesystem::path signingKey;  // PEM private key; empty: an unsigned site
};

struct SiteResult {
  int exitCode = 0;  // 0 done, 1 refused (a missing or oversized archive), 2 unreadable input or key
  std::vector<std::string> messages;  // UTF-8
  std::filesystem::path folder;       // the site folder written
};

SiteResult BuildUpdateSite(const SiteOptions& options);

// "Last-Modified: Tue, 08 Dec 2026 09:00:00 GMT" for a time in seconds since 1970.
std::string LastModifiedLineFor(int64_t unixSeconds);

}  // namespace ostravel::media
