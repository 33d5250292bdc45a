// pack, extract and list: package archives from and to host folders.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/cp1250.h"
#include "base/datetime.h"
#include "base/text.h"
#include "installer/engine/archive_backup_file.h"
#include "installer/platform/local_file_system.h"
#include "tools/media/archive_digest.h"
#include "tools/media/archive_writer.h"
#include "tools/media/command.h"

namespace ostravel::media {
namespace {

using platform::FileSystem;

int Fail(const std::string& cp1250Text) {
  std::fprintf(stderr, "ostravel-media: %s\n", Cp1250ToUtf8(cp1250Text).c_str());
  return 1;
}

struct Options {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  std::vector<std::string> flags;
  std::string error;
};

Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& withValue,
                     const std::vector<std::string>& flags) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      o.positional.push_back(a);
    } else if (std::find(withValue.begin(), withValue.end(), a) != withValue.end()) {
      if (i + 1 >= args.size()) o.error = a + " needs a value";
      else o.values[a] = args[++i];
    } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      o.flags.push_back(a);
    } else {
      o.error = "unknown option " + a;
    }
  }
  return o;
}

// Every file below `folder`, as paths relative to it with "\" separators, sorted.
void CollectFiles(FileSystem& files, const std::string& root, const std::string& relative,
                  std::vector<std::string>& out) {
  std::vector<std::string> names = files.List(relative.empty() ? root : root + "\\" + relative);
  std::sort(names.begin(), names.end());
  for (const auto& name : names) {
    std::string rel = relative.empty() ? name : relative + "\\" + name;
    auto info = files.Find(root + "\\" + rel);
    if (!info) continue;
    if (info->IsDirectory())
      CollectFiles(files, root, rel, out);
    else
      out.push_back(rel);
  }
}

int RunPack(const std::vector<std::string>& args) {
  Options o = ParseOptions(args, {"--prefix", "--volume-size", "--level"}, {});
  if (!o.error.empty()) return Fail(o.error);
  if (o.positional.size() != 2) return Fail("usage: pack OUT.dat SRC_DIR [--prefix P] [--volume-size BYTES] [--level 0-9]");
  std::string out = Utf8ToCp1250(o.positional[0]);
  std::string source = WithoutTrailing(Utf8ToCp1250(o.positional[1]), '/');
  std::string prefix = o.values.count("--prefix") ? Utf8ToCp1250(o.values["--prefix"]) : "C:\\";
  prefix = WithTrailing(prefix, '\\');
  ArchiveWriterOptions options;
  if (o.values.count("--level")) {
    auto level = ParseInteger(o.values["--level"]);
    if (!level || *level < 0 || *level > 9) return Fail("--level must be 0 to 9");
    options.level = *level;
  }
  if (o.values.count("--volume-size")) {
    char* end = nullptr;
    const std::string& v = o.values["--volume-size"];
    options.volumeSize = std::strtoull(v.c_str(), &end, 10);
    if (v.empty() || *end != '\0') return Fail("--volume-size must be a number of bytes");
  }

  auto local = platform::MakeLocalFileSystem();
  FileSystem& files = *local;
  if (!files.DirectoryExists(source)) return Fail("no folder " + source);
  std::vector<std::string> members;
  CollectFiles(files, source, "", members);
  int64_t total = 0;
  for (const auto& rel : members) total += int64_t(files.Find(source + "\\" + rel)->size);

  ArchiveWriter writer(files, out, options);
  if (!writer.Begin(total)) return Fail(writer.Error());
  for (const auto& rel : members) {
    std::string path = source + "\\" + rel;
    auto input = files.OpenRead(path);
    if (!input) return Fail("cannot read " + path + ": " + files.LastErrorText());
    if (!writer.AddMember(prefix + rel, files.Find(path)->dosTime, *input)) return Fail(writer.Error());
  }
  if (!writer.Finish()) return Fail(writer.Error());
  return 0;
}

// Extraction with following volumes taken from beside the archive, never prompted.
struct Extraction {
  engine::TBackupFile backup;
  std::string archive;
  std::string problem;
  Extraction(FileSystem& files, const std::string& archivePath) : backup(files), archive(archivePath) {
    backup.OnNeedDisk = [this, &files](engine::TBackupFile&, uint16_t disk, bool& cont) {
      std::string path = engine::ArchiveVolumePath(archive, Format("%03u", unsigned(disk)));
      cont = files.FileExists(path);
      if (!cont) problem = "missing volume " + path;
    };
    backup.OnError = [this](engine::TBackupFile& sender, int, const std::string& text) {
      problem = sender.CurrentFile().empty() ? text : text + ": " + sender.CurrentFile();
    };
  }
  int Run(FileSystem& files, const std::string& destination) {
    try {
      if (backup.Restore(archive, destination)) return 0;
    } catch (const engine::ArchiveError& e) {
      return Fail(e.what());
    }
    if (!files.FileExists(archive)) return Fail("no archive " + archive);
    return Fail(problem.empty() ? std::string("extraction stopped") : problem);
  }
};

int RunExtract(const std::vector<std::string>& args) {
  Options o = ParseOptions(args, {}, {"--full-path"});
  if (!o.error.empty()) return Fail(o.error);
  if (o.positional.size() != 2) return Fail("usage: extract ARCHIVE.dat DEST_DIR [--full-path]");
  auto local = platform::MakeLocalFileSystem();
  FileSystem& files = *local;
  std::string destination = Utf8ToCp1250(o.positional[1]);
  if (!files.CreateDirectories(destination)) return Fail("cannot create " + destination + ": " + files.LastErrorText());
  Extraction extraction(files, Utf8ToCp1250(o.positional[0]));
  extraction.backup.RestoreMode = engine::rmAll;
  extraction.backup.RestoreFullPath = !o.flags.empty();
  return extraction.Run(files, destination);
}

int RunList(const std::vector<std::string>& args) {
  Options o = ParseOptions(args, {}, {});
  if (!o.error.empty()) return Fail(o.error);
  if (o.positional.size() != 1) return Fail("usage: list ARCHIVE.dat");
  auto local = platform::MakeLocalFileSystem();
  ArchiveFacts facts = ReadArchiveFacts(*local, Utf8ToCp1250(o.positional[0]));
  if (!facts.error.empty()) return Fail(facts.error);
  for (const auto& m : facts.members) {
    auto dt = UnpackDosDateTime(uint32_t(m.time));
    std::string when = dt ? Format("%04d-%02d-%02d %02d:%02d:%02d", dt->year, dt->month, dt->day, dt->hour,
                                   dt->minute, dt->second)
                          : Format("invalid(%d)", m.time);
    std::printf("%s\t%llu\t%s\n", Cp1250ToUtf8(m.name).c_str(), (unsigned long long)m.size, when.c_str());
  }
  return 0;
}

RegisterCommand regPack{"pack", "OUT.dat SRC_DIR [--prefix P] [--volume-size BYTES] [--level 0-9]", RunPack};
RegisterCommand regExtract{"extract", "ARCHIVE.dat DEST_DIR [--full-path]", RunExtract};
RegisterCommand regList{"list", "ARCHIVE.dat", RunList};

}  // namespace
}  // namespace ostravel::media
