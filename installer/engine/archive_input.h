#pragma once
// The bytes of a package archive as one stream over its volumes: a read-ahead
// buffer over the open volume (small fields and blocks without a system call
// each), and the switch to the next volume at a marker, asking for its disk until
// the file is there.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "installer/platform/platform.h"

namespace ostravel::engine {

class ArchiveInput {
 public:
  explicit ArchiveInput(platform::FileSystem& files);
  ~ArchiveInput();
  ArchiveInput(const ArchiveInput&) = delete;
  ArchiveInput& operator=(const ArchiveInput&) = delete;

  // Volume 1 of `archivePath`, or the caller's `stream` (read from where it
  // stands and never closed here). False when it cannot be opened.
  bool Open(const std::string& archivePath, platform::InputFile* stream);
  void Close();

  // At a marker "NEXT:DISK" followed by three digits: closes the volume, then
  // raises `askForDisk` with the volume number until the volume's file exists or
  // the answer is false (false then, with no volume open). Throws ArchiveError for
  // a malformed marker, one that does not go forward, or a volume that cannot be
  // opened.
  bool NextVolume(const std::string& marker, const std::function<bool(int number)>& askForDisk);

  bool ReadExact(void* buffer, size_t size);
  bool Skip(uint64_t count);
  bool ReadInt32(int32_t& value);

 private:
  void Use(platform::InputFile* volume);

  static constexpr size_t kReadAhead = 65536;
  platform::FileSystem& files_;
  std::string archivePath_;
  int volumeNumber_ = 1;
  std::unique_ptr<platform::InputFile> owned_;
  platform::InputFile* volume_ = nullptr;
  std::unique_ptr<unsigned char[]> readAhead_;
  size_t readPos_ = 0, readEnd_ = 0;
};

}  // namespace ostravel::engine
