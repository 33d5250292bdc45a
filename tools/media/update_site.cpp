#include "tools/media/update_site.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#include "base/base64.h"
#include "base/cp1250.h"
#include "base/md5.h"
#include "base/sha256.h"
#include "base/text.h"
#include "installer/platform/local_file_system.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/script_lists.h"
#include "startup/scramble.h"
#include "startup/startup_key.h"
#include "tools/media/binary_file.h"
#include "tools/media/medium_names.h"
#include "tools/media/site_signing.h"

namespace ostravel::media {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUpdateScriptName = "download.inf";
constexpr const char* kServerPackage = "firebird.dat";
constexpr const char* kSignatureName = "download.inf.sig";

struct Digests {
  uint64_t size = 0;
  std::string md5, sha256;
};

bool Digest(const fs::path& path, Digests& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  Md5 md5;
  Sha256 sha;
  std::vector<char> piece(1 << 20);
  while (in) {
    in.read(piece.data(), std::streamsize(piece.size()));
    const auto n = size_t(in.gcount());
    md5.Update(piece.data(), n);
    sha.Update(piece.data(), n);
    out.size += n;
  }
  if (in.bad()) return false;
  out.md5 = md5.HexDigest();
  out.sha256 = sha.HexDigest();
  return true;
}

int64_t UnixSeconds(const fs::path& path) {
  std::error_code ec;
  const auto t = fs::last_write_time(path, ec);
  if (ec) return 0;
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(t).time_since_epoch())
      .count();
}

// The archive, its following volumes (.002, .003, ...) and its description.
bool CopyPackage(const fs::path& medium, const fs::path& site, const std::string& packFile, const Digests& d,
                 std::string& error) {
  std::error_code ec;
  fs::copy_file(medium / PathOf(packFile), site / PathOf(packFile), ec);
  const fs::path stem = PathOf(packFile).stem();
  for (int volume = 2; !ec && volume < 1000; ++volume) {
    const fs::path next = medium / fs::path(stem).concat(Format(".%03d", volume));
    if (!fs::exists(next)) break;
    fs::copy_file(next, site / next.filename(), ec);
  }
  if (ec) {
    error = packFile + ": " + ec.message();
    return false;
  }
  const std::string description = LastModifiedLineFor(UnixSeconds(medium / PathOf(packFile))) +
                                  "\r\nContent-Length: " + std::to_string(d.size) + "\r\nMD5: " + d.md5 + "\r\n";
  if (!WriteBinary((site / PathOf(packFile + ".inf")).string(), description)) {
    error = packFile + ".inf cannot be written";
    return false;
  }
  return true;
}

// Every section of components: the base product's and each install module's.
std::vector<std::string> ComponentSections(const TExtIniFile& ini) {
  const std::string base = ComponentList().section, tail = "." + base;
  std::vector<std::string> all, out;
  ini.ReadSections(all);
  for (const auto& s : all)
    if (SameText(s, base) || (s.size() > tail.size() && SameText(s.substr(s.size() - tail.size()), tail)))
      out.push_back(s);
  return out;
}

int Fail(SiteResult& r, int code, std::string message) {
  r.exitCode = code;
  r.messages.push_back(std::move(message));
  return code;
}

// The signature of download.inf as written, checked before it is kept.
int SignScript(const std::string& privatePem, const fs::path& work, SiteResult& r) {
  std::string script;
  if (!ReadBinary((work / kUpdateScriptName).string(), script)) return Fail(r, 2, "site: cannot read download.inf");
  try {
    const std::string signature = SignMessage(privatePem, script);
    if (!WriteBinary((work / kSignatureName).string(), Base64Encode(signature) + "\r\n"))
      return Fail(r, 2, std::string("site: cannot write ") + kSignatureName);
  } catch (const std::runtime_error& e) {
    return Fail(r, 2, std::string("site: the signing key: ") + e.what());
  }
  r.messages.push_back(std::string(kSignatureName) + " signed");
  return 0;
}

int FillSite(const SiteOptions& o, const fs::path& work, SiteResult& r) {
  std::string privatePem;
  if (!o.signingKey.empty() && !ReadBinary(o.signingKey.string(), privatePem))
    return Fail(r, 2, "site: cannot read the signing key " + o.signingKey.string());
  std::string script;
  if (!ReadBinary((o.mediumDir / kMediumScriptName).string(), script))
    return Fail(r, 2, "site: cannot read " + (o.mediumDir / kMediumScriptName).string());
  if (!startup::IsPlainScript(script)) script = startup::DescrambleScript(script);
  const fs::path scriptPath = work / kUpdateScriptName;
  if (!WriteBinary(scriptPath.string(), script)) return Fail(r, 2, "site: cannot write " + scriptPath.string());

  auto files = platform::MakeLocalFileSystem();
  TExtIniFile ini(*files, scriptPath.string(), false);
  for (const std::string& section : ComponentSections(ini)) {
    for (const ComponentKeys& c :
         ReadListSection(ini, ComponentList(), section, SameText(section, ComponentList().section))) {
      if (Trim(c.packName).empty()) continue;
      const std::string key = EntryStem(ComponentList(), c.number);
      const std::string packFile = c.packName + ".dat";
      Digests d;
      if (!Digest(o.mediumDir / PathOf(Cp1250ToUtf8(packFile)), d))
        return Fail(r, 1,
                    "site: " + Cp1250ToUtf8(section) + " " + key + ": the medium has no " + Cp1250ToUtf8(packFile));
      if (d.size > uint64_t(INT32_MAX))
        return Fail(r, 1, "site: " + Cp1250ToUtf8(packFile) + " is larger than a PackSize can say");
      std::string error;
      if (!fs::exists(work / PathOf(Cp1250ToUtf8(packFile))) &&
          !CopyPackage(o.mediumDir, work, Cp1250ToUtf8(packFile), d, error))
        return Fail(r, 2, "site: " + error);
      ini.WriteString(section, KeyName(ComponentList(), c.number, &ComponentKeys::packSize), std::to_string(d.size));
      ini.WriteString(section, KeyName(ComponentList(), c.number, &ComponentKeys::packMD5Checksum), d.md5);
      ini.WriteString(section, KeyName(ComponentList(), c.number, &ComponentKeys::packSHA256Checksum), d.sha256);
      r.messages.push_back(Cp1250ToUtf8(packFile) + " " + std::to_string(d.size) + " " + d.md5);
    }
  }
  ini.UpdateFile();
  Digests server;
  if (fs::exists(o.mediumDir / kServerPackage) && !fs::exists(work / kServerPackage)) {
    std::string error;
    if (!Digest(o.mediumDir / kServerPackage, server) || !CopyPackage(o.mediumDir, work, kServerPackage, server, error))
      return Fail(r, 2, "site: " + error);
    r.messages.push_back(std::string(kServerPackage) + " " + std::to_string(server.size) + " " + server.md5);
  }
  return privatePem.empty() ? 0 : SignScript(privatePem, work, r);
}

}  // namespace

std::string LastModifiedLineFor(int64_t unixSeconds) {
  const std::time_t t = std::time_t(unixSeconds);
  const std::tm tm = *std::gmtime(&t);
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return Format("Last-Modified: %s, %02d %s %04d %02d:%02d:%02d GMT", days[tm.tm_wday], tm.tm_mday, months[tm.tm_mon],
                tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

SiteResult BuildUpdateSite(const SiteOptions& o) {
  SiteResult r;
  if (o.year.size() != 4 || o.year.find_first_not_of("0123456789") != std::string::npos) {
    Fail(r, 2, "site: --year needs four digits");
    return r;
  }
  r.folder = o.outDir / o.year;
  if (o.dos) r.folder /= "dos";
  const fs::path work = fs::path(r.folder).concat(".part-" + std::to_string(std::random_device()()));
  std::error_code ec;
  fs::remove_all(work, ec);
  fs::create_directories(work, ec);
  if (ec) {
    Fail(r, 2, "site: cannot create " + work.string() + ": " + ec.message());
    return r;
  }
  if (FillSite(o, work, r) == 0) {
    fs::remove_all(r.folder, ec);
    fs::rename(work, r.folder, ec);
    if (ec) Fail(r, 2, "site: cannot move the site into " + r.folder.string() + ": " + ec.message());
  }
  fs::remove_all(work, ec);
  return r;
}

}  // namespace ostravel::media
