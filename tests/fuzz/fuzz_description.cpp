// Any bytes as the two ".dat.inf" description files (split at the first NUL): the
// freshness test never crashes, a "last-modified:" line found is one, and equal
// files with the right digest always count as current.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/cp1250.h"
#include "base/md5.h"
#include "base/text.h"
#include "installer/net/package_freshness.h"
#include "installer/platform/fake/memory_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ostravel;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\0');
  const std::string local = input.substr(0, cut);
  const std::string fetched = cut == std::string::npos ? local : input.substr(cut + 1);
  platform::MemoryFileSystem fs;
  fs.AddFile("C:\\Copy\\data1.dat.inf", local);
  fs.AddFile("C:\\Temp\\data1.dat.inf", fetched);
  fs.AddFile("C:\\Copy\\data1.dat", "archive");
  const std::string line = net::LastModifiedLine(net::ReadDescriptionLines(fs, "C:\\Copy\\data1.dat.inf"));
  if (!line.empty() && !StartsWith(Trim(line), "last-modified:")) std::abort();
  const bool current = net::LocalCopyCurrent(fs, "C:\\Copy\\", "C:\\Temp\\", "data1", Md5Hex("archive"));
  if (local == fetched && !SplitLines(local).empty() && !current) std::abort();
  return 0;
}
