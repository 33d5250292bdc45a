#include "tools/media/pe_version.h"

#include <cstring>
#include <fstream>

#include "base/text.h"
#include "tools/media/binary_file.h"

namespace ostravel::media {
namespace {

constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr size_t kFixedInfoSize = 52;
// A resource directory lists at most this many entries; real ones have a handful.
constexpr uint32_t kMaxEntries = 4096;

class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::string& utf8Path) : in_(PathOf(utf8Path), std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      auto end = in_.tellg();
      size_ = end > 0 ? uint64_t(end) : 0;
    }
  }
  bool Ok() const { return bool(in_); }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return false;
    in_.clear();
    in_.seekg(std::streamoff(offset));
    in_.read(static_cast<char*>(buffer), std::streamsize(size));
    return in_.gcount() == std::streamsize(size);
  }

 private:
  std::ifstream in_;
  uint64_t size_ = 0;
};

struct Reader {
  ByteSource& src;
  bool U16(uint64_t at, uint32_t& v) {
    unsigned char b[2];
    if (!src.ReadAt(at, b, 2)) return false;
    v = uint32_t(b[0]) | uint32_t(b[1]) << 8;
    return true;
  }
  bool U32(uint64_t at, uint32_t& v) {
    unsigned char b[4];
    if (!src.ReadAt(at, b, 4)) return false;
    v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
  }
};

struct Section {
  uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
};

// The file offset of `size` bytes at `rva`, when one section holds them all.
std::optional<uint64_t> RvaToOffset(Reader& r, uint64_t table, uint32_t count, uint32_t rva, uint32_t size) {
  for (uint32_t i = 0; i < count; ++i) {
    Section s{};
    uint64_t at = table + uint64_t(i) * 40;
    if (!r.U32(at + 8, s.virtualSize) || !r.U32(at + 12, s.virtualAddress) || !r.U32(at + 16, s.rawSize) ||
        !r.U32(at + 20, s.rawOffset))
      return std::nullopt;
    uint64_t start = s.virtualAddress;
    if (rva < start || uint64_t(rva) + size > start + s.rawSize) continue;
    uint64_t offset = uint64_t(s.rawOffset) + (rva - start);
    if (offset + size > r.src.Size()) return std::nullopt;
    return offset;
  }
  return std::nullopt;
}

// Entry of a resource directory at `dir` (offset in the file): the one with `id`,
// or the first one when `id` is 0. Gives the entry's OffsetToData field.
std::optional<uint32_t> FindEntry(Reader& r, uint64_t dir, uint32_t id) {
  uint32_t named = 0, ids = 0;
  if (!r.U16(dir + 12, named) || !r.U16(dir + 14, ids)) return std::nullopt;
  uint32_t total = named + ids;
  if (total == 0 || total > kMaxEntries) return std::nullopt;
  for (uint32_t i = 0; i < total; ++i) {
    uint32_t name = 0, data = 0;
    if (!r.U32(dir + 16 + uint64_t(i) * 8, name) || !r.U32(dir + 20 + uint64_t(i) * 8, data)) return std::nullopt;
    if (id == 0 || (!(name & 0x80000000u) && name == id)) return data;
  }
  return std::nullopt;
}

std::optional<PeVersion> ReadFixedInfo(Reader& r, uint64_t at, uint32_t size) {
  // wLength, wValueLength, wType, "VS_VERSION_INFO" in UTF-16 with its zero, then
  // padding to 32 bits: the fixed part starts 40 bytes in.
  static const char16_t kKey[] = u"VS_VERSION_INFO";
  if (size < 40 + kFixedInfoSize) return std::nullopt;
  uint32_t valueLength = 0;
  if (!r.U16(at + 2, valueLength) || valueLength < kFixedInfoSize) return std::nullopt;
  for (size_t i = 0; i < sizeof kKey / sizeof kKey[0]; ++i) {
    uint32_t c = 0;
    if (!r.U16(at + 6 + i * 2, c) || c != uint32_t(kKey[i])) return std::nullopt;
  }
  uint32_t signature = 0, f[4];
  if (!r.U32(at + 40, signature) || signature != kFixedSignature) return std::nullopt;
  for (int i = 0; i < 4; ++i)
    if (!r.U32(at + 48 + uint64_t(i) * 4, f[i])) return std::nullopt;
  PeVersion v;
  v.file[0] = uint16_t(f[0] >> 16), v.file[1] = uint16_t(f[0]), v.file[2] = uint16_t(f[1] >> 16),
  v.file[3] = uint16_t(f[1]);
  v.product[0] = uint16_t(f[2] >> 16), v.product[1] = uint16_t(f[2]), v.product[2] = uint16_t(f[3] >> 16),
  v.product[3] = uint16_t(f[3]);
  return v;
}

}  // namespace

bool MemorySource::ReadAt(uint64_t offset, void* buffer, size_t size) {
  if (offset > data_.size() || size > data_.size() - offset) return false;
  std::memcpy(buffer, data_.data() + offset, size);
  return true;
}

std::optional<PeVersion> ReadPeVersion(ByteSource& source) {
  Reader r{source};
  uint32_t mz = 0, peOffset = 0, signature = 0;
  if (!r.U16(0, mz) || mz != 0x5A4D || !r.U32(0x3C, peOffset)) return std::nullopt;
  if (!r.U32(peOffset, signature) || signature != 0x00004550) return std::nullopt;
  const uint64_t coff = uint64_t(peOffset) + 4, optional = coff + 20;
  uint32_t sections = 0, optionalSize = 0, magic = 0;
  if (!r.U16(coff + 2, sections) || !r.U16(coff + 16, optionalSize) || !r.U16(optional, magic))
    return std::nullopt;
  // PE32 and PE32+ differ in where the data directories start.
  uint64_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
  if (directories == 0) return std::nullopt;
  uint32_t directoryCount = 0;
  if (!r.U32(optional + directories - 4, directoryCount) || directoryCount <= kResourceDirectory) return std::nullopt;
  if (directories + (kResourceDirectory + 1) * 8 > optionalSize) return std::nullopt;
  uint32_t rootRva = 0, rootSize = 0;
  if (!r.U32(optional + directories + kResourceDirectory * 8, rootRva) ||
      !r.U32(optional + directories + kResourceDirectory * 8 + 4, rootSize) || rootRva == 0)
    return std::nullopt;
  const uint64_t table = optional + optionalSize;
  auto root = RvaToOffset(r, table, sections, rootRva, 16);
  (void)rootSize;
  if (!root) return std::nullopt;

  // Type, name, language: each level a directory, the last entry a data entry.
  // Entry offsets count from the start of the resource data, in image addresses.
  uint64_t dir = *root;
  const uint32_t ids[3] = {kRtVersion, 0, 0};
  for (int level = 0; level < 3; ++level) {
    auto found = FindEntry(r, dir, ids[level]);
    if (!found) return std::nullopt;
    bool isDirectory = *found & 0x80000000u;
    if (isDirectory != (level < 2)) return std::nullopt;
    uint64_t rva = uint64_t(rootRva) + (*found & 0x7FFFFFFFu);
    if (rva > 0xFFFFFFFFu) return std::nullopt;
    auto next = RvaToOffset(r, table, sections, uint32_t(rva), 16);
    if (!next) return std::nullopt;
    dir = *next;
  }
  uint32_t dataRva = 0, dataSize = 0;
  if (!r.U32(dir, dataRva) || !r.U32(dir + 4, dataSize)) return std::nullopt;
  auto data = RvaToOffset(r, table, sections, dataRva, dataSize);
  if (!data) return std::nullopt;
  return ReadFixedInfo(r, *data, dataSize);
}

std::optional<std::string> ReadPeMachine(ByteSource& source) {
  Reader r{source};
  uint32_t mz = 0, peOffset = 0, signature = 0, machine = 0;
  if (!r.U16(0, mz) || mz != 0x5A4D || !r.U32(0x3C, peOffset)) return std::nullopt;
  if (!r.U32(peOffset, signature) || signature != 0x00004550 || !r.U16(uint64_t(peOffset) + 4, machine))
    return std::nullopt;
  if (machine == 0x014C) return "i686";
  if (machine == 0x8664) return "x86_64";
  return Format("machine 0x%04X", unsigned(machine));
}

std::optional<std::string> ReadPeMachineFile(const std::string& utf8Path) {
  FileSource source(utf8Path);
  if (!source.Ok()) return std::nullopt;
  return ReadPeMachine(source);
}

std::optional<PeVersion> ReadPeVersionFile(const std::string& utf8Path) {
  FileSource source(utf8Path);
  if (!source.Ok()) return std::nullopt;
  return ReadPeVersion(source);
}

std::string ModuleVersionText(const PeVersion& v) {
  return Format("%u.%u.%u.%u", v.file[0], v.file[1], v.file[2], v.file[3]);
}

std::string ProductVersionText(const PeVersion& v) { return Format("%u.%.2u", v.product[0], v.product[2]); }

}  // namespace ostravel::media
