#pragma once
// The package archive layout shared by the reader (installer) and the writer
// (ostravel-media): little-endian 32-bit fields, CP1250 names, members as runs of
// blocks that each inflate to at most 16384 bytes.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ostravel::engine {

inline constexpr size_t kArchiveBlockSize = 16384;
// Longest compressed block read: zlib's worst case for a full block, so a writer
// that compresses even what does not shrink is still read.
inline constexpr size_t kArchiveMaxCompressedBlock = kArchiveBlockSize + (kArchiveBlockSize >> 12) +
                                                     (kArchiveBlockSize >> 14) + 13;
// Magic of every member-data section: "EC2" and a zero byte.
inline constexpr char kArchiveMagic[4] = {'E', 'C', '2', '\0'};
inline constexpr std::string_view kVolumeMarker = "NEXT:DISK";
inline constexpr std::string_view kFileListName = "FILE:LIST";
// Longest stored name accepted: the longest Windows path. A larger length field is
// damage, and must never decide how much memory is taken.
inline constexpr int32_t kMaxArchiveNameLength = 32767;
inline constexpr int kMaxVolumeNumber = 999;

enum ArchiveErrorCode {
  kErrNone = 0,
  kErrCannotReadFile = 1,
  kErrOverwriteFailed = 2,
  kErrCannotReadArchive = 3,
  kErrCannotWriteArchive = 4,
  kErrInvalidArchiveType = 5,
  kErrCompression = 6,
  kErrCannotCreateTempFile = 7,
};

// Text of an error code; empty for 0 and unknown codes.
const char* ArchiveErrorText(int code);

// Raised to the caller of an extraction for an unreadable header or a bad magic
// that cannot be recorded as a member error. what() is CP1250.
class ArchiveError : public std::runtime_error {
 public:
  explicit ArchiveError(int code) : std::runtime_error(ArchiveErrorText(code)), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

// Volume n of an archive: the archive path with its extension replaced by "." and
// the three digits ("data1.dat", "002" -> "data1.002").
std::string ArchiveVolumePath(const std::string& archivePath, std::string_view digits);
// "NEXT:DISK" and the volume number in three digits.
std::string ArchiveVolumeMarker(int volume);

inline void PutInt32(std::string& out, int32_t value) {
  uint32_t v = uint32_t(value);
  char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
  out.append(b, 4);
}

inline int32_t GetInt32(const unsigned char* b) {
  return int32_t(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24));
}

}  // namespace ostravel::engine
