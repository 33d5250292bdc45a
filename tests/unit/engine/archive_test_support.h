#pragma once
// Byte-level archive builder for tests that need exact or deliberately damaged layouts.
#include <zlib.h>

#include <cstdint>
#include <string>

#include "installer/engine/archive_format.h"

namespace ostravel::engine::archive_testing {

class ArchiveBytes {
 public:
  ArchiveBytes& Int(int32_t v) {
    PutInt32(bytes_, v);
    return *this;
  }
  ArchiveBytes& Raw(const std::string& s) {
    bytes_ += s;
    return *this;
  }
  ArchiveBytes& Header(int32_t total, const std::string& title = "test") {
    return Int(int32_t(title.size())).Raw(title).Int(total).Int(0);
  }
  ArchiveBytes& Name(const std::string& name) { return Int(int32_t(name.size())).Raw(name); }
  ArchiveBytes& Entry(const std::string& name, int32_t time) { return Name(name).Int(time); }
  ArchiveBytes& Magic() { return Raw(std::string(kArchiveMagic, 4)); }
  ArchiveBytes& Stored(const std::string& data) { return Int(-int32_t(data.size())).Raw(data); }
  ArchiveBytes& Compressed(const std::string& data, int level = 6) {
    std::string packed = Deflate(data, level);
    return Int(int32_t(packed.size())).Raw(packed);
  }
  ArchiveBytes& End() { return Int(0); }
  // A whole member: entry, magic, blocks of 16384 bytes, end.
  ArchiveBytes& Member(const std::string& name, int32_t time, const std::string& data, bool compress = true) {
    Entry(name, time).Magic();
    for (size_t at = 0; at < data.size(); at += kArchiveBlockSize) {
      std::string part = data.substr(at, kArchiveBlockSize);
      compress ? Compressed(part) : Stored(part);
    }
    return End();
  }
  const std::string& str() const { return bytes_; }

  static std::string Deflate(const std::string& data, int level = 6) {
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              uLong(data.size()), level);
    out.resize(size);
    return out;
  }

 private:
  std::string bytes_;
};

// Deterministic content: text-like (compresses) or noise (does not).
inline std::string TestContent(size_t size, bool compressible, uint32_t seed = 1) {
  std::string s(size, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1664525u + 1013904223u;
    s[i] = compressible ? char("lorem ipsum dolor sit amet "[(i / 3 + (x >> 30)) % 27]) : char(x >> 24);
  }
  return s;
}

}  // namespace ostravel::engine::archive_testing
