#pragma once
// The fixed part of a Windows program's version resource, read straight from the PE
// file: DOS header, PE header, section table, resource tree (RT_VERSION, first name,
// first language), VS_VERSIONINFO. Every offset and length is checked against the
// file before it is used, so damaged or hostile files give "no version", never a
// read outside the data.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostravel::media {

// Random access to the bytes of a file or buffer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Exactly `size` bytes at `offset`; false when they are not all there.
  virtual bool ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view data) : data_(data) {}
  uint64_t Size() const override { return data_.size(); }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override;

 private:
  std::string_view data_;
};

struct PeVersion {
  // Major, minor, release, build.
  uint16_t file[4] = {0, 0, 0, 0};
  uint16_t product[4] = {0, 0, 0, 0};
};

std::optional<PeVersion> ReadPeVersion(ByteSource& source);
// Opens the file by UTF-8 path; nullopt also when it cannot be read.
std::optional<PeVersion> ReadPeVersionFile(const std::string& utf8Path);

// The processor a Windows program is built for: "i686", "x86_64", or "machine 0x…"
// for others; nullopt when the file is no PE program.
std::optional<std::string> ReadPeMachine(ByteSource& source);
std::optional<std::string> ReadPeMachineFile(const std::string& utf8Path);

// "a.b.c.d" of the file version: what the setup script's ModuleVersion holds.
std::string ModuleVersionText(const PeVersion& v);
// "%d.%.2d" of the product major and release: the short product version text.
std::string ProductVersionText(const PeVersion& v);

}  // namespace ostravel::media
