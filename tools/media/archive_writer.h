#pragma once
// Writes package archives in the layout the installer's TBackupFile reads: header,
// entries, members as blocks of at most 16384 input bytes (each one zlib stream, or
// stored when compressing does not pay), optionally split into volumes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "installer/platform/platform.h"

namespace ostravel::media {

struct ArchiveWriterOptions {
  int level = 6;            // zlib level 0..9; 0 stores every block
  uint64_t volumeSize = 0;  // bytes per volume; 0 writes one file
  std::string title = "Ostravel package";
};

class ArchiveWriter {
 public:
  // A volume must hold a full block after the section that opens it.
  static constexpr uint64_t kMinVolumeSize = 16384 + 64;

  ArchiveWriter(platform::FileSystem& files, std::string path, ArchiveWriterOptions options);
  ~ArchiveWriter();

  // Writes the header; `totalSize` is the sum of the member sizes (progress only).
  bool Begin(int64_t totalSize);
  bool AddMember(const std::string& storedName, uint32_t dosTime, platform::InputFile& data);
  bool AddMember(const std::string& storedName, uint32_t dosTime, const std::string& data);
  // Ends the archive and closes the last volume.
  bool Finish();

  const std::string& Error() const { return error_; }
  // Paths of the files written so far, volume 1 first.
  const std::vector<std::string>& Volumes() const { return volumes_; }

 private:
  class Deflater;
  bool Emit(const void* data, size_t size);
  bool EmitInt32(int32_t value);
  bool WriteBlock(const unsigned char* data, size_t size);
  bool SplitVolume();
  bool OpenVolume(const std::string& path);
  bool Fail(const std::string& text);

  platform::FileSystem& files_;
  std::string path_;
  ArchiveWriterOptions options_;
  std::unique_ptr<platform::OutputFile> out_;
  std::unique_ptr<Deflater> deflater_;
  std::vector<std::string> volumes_;
  uint64_t used_ = 0;          // bytes in the current volume
  uint64_t volumeStart_ = 0;   // bytes a volume holds before its first block
  bool sectionOpen_ = false;   // a member's data section is being written
  bool haveMember_ = false;
  std::string error_;
};

}  // namespace ostravel::media
