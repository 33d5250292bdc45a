#include "tools/media/binary_file.h"

#include <fstream>
#include <iterator>

namespace ostravel::media {

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool ReadBinary(const std::string& path, std::string& data) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteBinary(const std::string& path, const std::string& data) {
  std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace ostravel::media
