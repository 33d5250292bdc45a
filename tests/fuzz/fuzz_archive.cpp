// The archive reader against arbitrary bytes: no crash, no hang, no allocation led by
// a length field. Input: a flags byte, then volumes separated by "VOL!".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "installer/engine/archive_backup_file.h"
#include "installer/platform/fake/memory_file_system.h"

using namespace ostravel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  uint8_t flags = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);

  platform::MemoryFileSystem fs;
  fs.SetCapacity(64u << 20);
  fs.AddFile("D:\\Out\\existing", "old", 0x2A000000);
  int volume = 1;
  for (;;) {
    size_t cut = rest.find("VOL!");
    std::string path = volume == 1 ? std::string("A:\\data1.dat") : engine::ArchiveVolumePath("A:\\data1.dat", std::to_string(volume + 1000).substr(1));
    fs.AddFile(path, std::string(rest.substr(0, cut)));
    if (cut == std::string_view::npos || volume == 20) break;
    rest.remove_prefix(cut + 4);
    ++volume;
  }

  engine::TBackupFile backup(fs);
  backup.RestoreMode = engine::TRestoreMode(flags % 5);
  backup.RestoreFullPath = flags & 0x08;
  int declined = 0;
  if (flags & 0x10) {
    backup.OnRestoreFile = [&](engine::TBackupFile&, std::string&, int32_t, bool& write) {
      if (++declined % 2 == 0) write = false;
    };
  }
  int disks = 0;
  backup.OnNeedDisk = [&](engine::TBackupFile&, uint16_t disk, bool& cont) {
    cont = ++disks < 50 && fs.FileExists(engine::ArchiveVolumePath("A:\\data1.dat", std::to_string(disk + 1000).substr(1)));
  };
  backup.OnProgress = [](engine::TBackupFile&, const std::string&, int percent, bool&) {
    if (percent < 0 || percent > 100) __builtin_trap();
  };
  backup.OnError = [](engine::TBackupFile&, int code, const std::string&) {
    if (code != engine::kErrCannotReadFile && code != engine::kErrCompression) __builtin_trap();
  };
  std::unique_ptr<platform::InputFile> stream;
  std::string archive = "A:\\data1.dat";
  if (flags & 0x20) {
    stream = fs.OpenRead(archive);
    backup.Stream = stream.get();
    archive = engine::TBackupFile::kStreamPath;
  }
  try {
    backup.Restore(archive, flags & 0x40 ? "" : "D:\\Out");
  } catch (const engine::ArchiveError& e) {
    if (e.Code() != engine::kErrCannotReadArchive && e.Code() != engine::kErrInvalidArchiveType) __builtin_trap();
  }
  if (backup.Busy()) __builtin_trap();
  return 0;
}
