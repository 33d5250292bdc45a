#include "installer/net/package_freshness.h"

#include <algorithm>
#include <vector>

#include "base/md5.h"
#include "base/sha256.h"
#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::net {

namespace {

template <typename Digest>
std::optional<std::string> FileDigest(platform::FileSystem& fs, const std::string& path) {
  auto file = fs.OpenRead(path);
  if (!file) return std::nullopt;
  Digest digest;
  std::vector<char> piece(kDigestPieceSize);
  for (;;) {
    const int64_t n = file->Read(piece.data(), piece.size());
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    digest.Update(piece.data(), size_t(n));
  }
  return digest.HexDigest();
}

}  // namespace

std::vector<std::string> ReadDescriptionLines(platform::FileSystem& fs, const std::string& path) {
  auto file = fs.OpenRead(path);
  if (!file) return {};
  std::string data;
  char piece[8192];
  while (data.size() < kMaxDescriptionBytes) {
    const int64_t n = file->Read(piece, std::min(sizeof piece, kMaxDescriptionBytes - data.size()));
    if (n <= 0) break;
    data.append(piece, size_t(n));
  }
  return SplitLines(data);
}

std::string LastModifiedLine(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (StartsWith(LowerCase(Trim(line)), "last-modified:")) return LowerCase(line);
  return "";
}

std::optional<std::string> FileMd5(platform::FileSystem& fs, const std::string& path) {
  return FileDigest<Md5>(fs, path);
}

std::optional<std::string> FileSha256(platform::FileSystem& fs, const std::string& path) {
  return FileDigest<Sha256>(fs, path);
}

bool LocalCopyCurrent(platform::FileSystem& fs, const std::string& copyTargetFolder, const std::string& tempFolder,
                      const std::string& packName, const std::string& packMd5) {
  const auto local = ReadDescriptionLines(fs, copyTargetFolder + packName + ".dat.inf");
  const auto fetched = ReadDescriptionLines(fs, tempFolder + packName + ".dat.inf");
  if (local.empty() || fetched.empty()) return false;
  if (LastModifiedLine(local) != LastModifiedLine(fetched)) return false;
  const auto digest = FileMd5(fs, copyTargetFolder + packName + ".dat");
  return digest && *digest == packMd5;
}

}  // namespace ostravel::net
