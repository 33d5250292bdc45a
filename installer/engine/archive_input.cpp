#include "installer/engine/archive_input.h"

#include <algorithm>
#include <cstring>

#include "installer/engine/archive_format.h"

namespace ostravel::engine {

ArchiveInput::ArchiveInput(platform::FileSystem& files) : files_(files) {}

ArchiveInput::~ArchiveInput() = default;

bool ArchiveInput::Open(const std::string& archivePath, platform::InputFile* stream) {
  if (!readAhead_) readAhead_ = std::make_unique<unsigned char[]>(kReadAhead);
  archivePath_ = archivePath;
  volumeNumber_ = 1;
  owned_.reset();
  if (!stream) owned_ = files_.OpenRead(archivePath);
  Use(stream ? stream : owned_.get());
  return volume_ != nullptr;
}

void ArchiveInput::Close() {
  owned_.reset();
  Use(nullptr);
}

bool ArchiveInput::NextVolume(const std::string& marker, const std::function<bool(int number)>& askForDisk) {
  std::string digits = marker.substr(kVolumeMarker.size(), 3);
  int number = 0;
  for (char c : digits) number = number * 10 + (c - '0');
  bool wellFormed = digits.size() == 3 && digits.find_first_not_of("0123456789") == std::string::npos;
  // Volumes only go forward; a marker pointing back would read the same volumes forever.
  if (!wellFormed || number <= volumeNumber_) throw ArchiveError(kErrInvalidArchiveType);

  Close();
  const std::string next = ArchiveVolumePath(archivePath_, digits);
  do {
    if (!askForDisk(number)) return false;
  } while (!files_.FileExists(next));

  owned_ = files_.OpenRead(next);
  Use(owned_.get());
  if (!volume_) throw ArchiveError(kErrCannotReadArchive);
  volumeNumber_ = number;
  return true;
}

void ArchiveInput::Use(platform::InputFile* volume) {
  volume_ = volume;
  readPos_ = readEnd_ = 0;
}

bool ArchiveInput::ReadExact(void* buffer, size_t size) {
  auto p = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    if (readPos_ == readEnd_) {
      int64_t n = volume_->Read(readAhead_.get(), kReadAhead);
      if (n <= 0) return false;
      readPos_ = 0;
      readEnd_ = size_t(n);
    }
    size_t take = std::min(size, readEnd_ - readPos_);
    std::memcpy(p, readAhead_.get() + readPos_, take);
    readPos_ += take;
    p += take;
    size -= take;
  }
  return true;
}

bool ArchiveInput::Skip(uint64_t count) {
  size_t buffered = readEnd_ - readPos_;
  if (count <= buffered) {
    readPos_ += size_t(count);
    return true;
  }
  readPos_ = readEnd_;
  return volume_->Skip(count - buffered);
}

bool ArchiveInput::ReadInt32(int32_t& value) {
  unsigned char b[4];
  if (!ReadExact(b, sizeof b)) return false;
  value = GetInt32(b);
  return true;
}

}  // namespace ostravel::engine
