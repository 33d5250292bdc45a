#include "tools/media/product_scan.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <ctime>
#include <fstream>

#include "base/cp1250.h"
#include "base/datetime.h"
#include "base/md5.h"
#include "base/text.h"

namespace ostravel::media {
namespace fs = std::filesystem;
namespace {

std::string U8(const fs::path& p) {
  auto s = p.u8string();
  return std::string(s.begin(), s.end());
}

// Why Windows could not hold a file of that name, or empty.
std::string NameProblem(const std::string& utf8Name) {
  std::string cp;
  if (!ToCp1250Exactly(utf8Name, cp)) return "its name has characters outside code page 1250, which the setup script cannot carry";
  for (char c : cp)
    if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"\\|?*").find(c) != std::string_view::npos)
      return "its name holds a character Windows does not allow in file names";
  if (cp.back() == '.' || cp.back() == ' ') return "its name ends with a dot or a blank, which Windows drops";
  return "";
}

bool Digest(ProductFile& f) {
  std::ifstream in(f.path, std::ios::binary);
  if (!in) return false;
  Md5 md5;
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    if (in.gcount() > 0) md5.Update(buffer, size_t(in.gcount()));
  }
  if (in.bad()) return false;
  f.md5 = md5.HexDigest();
  return true;
}

// Checks one regular file; an empty text when it is taken into `out`.
std::string TakeFile(const fs::directory_entry& entry, const std::string& rel, ProductFile& out) {
  std::error_code ec;
  out.rel = rel;
  out.path = entry.path();
  out.size = entry.file_size(ec);
  if (ec) return "cannot be read: " + ec.message();
  if (out.size == 0) return "is empty: a file of 0 bytes never counts as out of date and cannot be verified";
  if (out.size > uint64_t(INT32_MAX))
    return Format("is %llu bytes: the setup script's sizes are 32-bit, at most 2147483647 bytes",
                  (unsigned long long)out.size);
  auto time = DosTimeOf(entry.last_write_time(ec));
  if (ec) return "cannot be read: " + ec.message();
  if (!time) return "was last written before 1980 or after 2107, which a DOS time cannot hold: set its time (touch)";
  out.dosTime = *time;
  if (!Digest(out)) return "cannot be read";
  out.version = ReadPeVersionFile(U8(out.path));
  return "";
}

}  // namespace

bool ToCp1250Exactly(std::string_view utf8, std::string& cp1250) {
  cp1250 = Utf8ToCp1250(utf8);
  return Cp1250ToUtf8(cp1250) == utf8;
}

std::optional<uint32_t> DosTimeOf(fs::file_time_type time) {
  auto sys = std::chrono::file_clock::to_sys(time);
  std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::time_point_cast<std::chrono::seconds>(sys));
  std::tm tmv{};
#ifdef _WIN32
  if (localtime_s(&tmv, &t) != 0) return std::nullopt;
#else
  if (!localtime_r(&t, &tmv)) return std::nullopt;
#endif
  DateTime dt{tmv.tm_year + 1900, tmv.tm_mon + 1, tmv.tm_mday, tmv.tm_hour, tmv.tm_min, tmv.tm_sec, 0};
  if (dt.year < 1980 || dt.year > 2107) return std::nullopt;
  return PackDosDateTime(dt);
}

ProductScan ScanProduct(const fs::path& root) {
  ProductScan scan;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) {
    scan.error = "no folder " + U8(root);
    return scan;
  }
  fs::recursive_directory_iterator it(root, ec), end;
  if (ec) scan.error = "cannot read " + U8(root) + ": " + ec.message();
  for (; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    const std::string relUtf8 = U8(entry.path().lexically_relative(root));
    auto refuse = [&](const std::string& why) { scan.refused.push_back(relUtf8 + ": " + why); };
    std::string problem = NameProblem(U8(entry.path().filename()));
    fs::file_status status = entry.symlink_status(ec);
    if (ec) break;
    if (fs::is_symlink(status)) {
      refuse("is a symbolic link; links are refused, not followed: put the file itself there");
      continue;
    }
    if (fs::is_directory(status)) {
      if (!problem.empty()) {
        refuse("folder " + problem);
        it.disable_recursion_pending();
      }
      continue;
    }
    if (!fs::is_regular_file(status)) {
      refuse("is not a regular file");
      continue;
    }
    if (!problem.empty()) {
      refuse(problem);
      continue;
    }
    std::string rel;
    ToCp1250Exactly(relUtf8, rel);
    std::replace(rel.begin(), rel.end(), '/', '\\');
    ProductFile file;
    problem = TakeFile(entry, rel, file);
    if (problem.empty()) scan.files.push_back(std::move(file));
    else refuse(problem);
  }
  if (ec && scan.error.empty()) scan.error = "cannot read " + U8(root) + ": " + ec.message();
  std::sort(scan.files.begin(), scan.files.end(), [](const ProductFile& a, const ProductFile& b) { return a.rel < b.rel; });
  return scan;
}

}  // namespace ostravel::media
