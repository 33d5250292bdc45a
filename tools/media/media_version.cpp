// ostravel-media version FILE...: the version resource as the medium builder reads it.
#include <cstdio>

#include "tools/media/command.h"
#include "tools/media/pe_version.h"

namespace ostravel::media {
namespace {

int RunVersion(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: ostravel-media version FILE...\n");
    return 2;
  }
  for (const auto& path : args) {
    auto v = ReadPeVersionFile(path);
    if (!v) {
      std::printf("%s\tnone\n", path.c_str());
      continue;
    }
    std::printf("%s\t%u.%u.%u.%u\t%u.%u.%u.%u\n", path.c_str(), v->file[0], v->file[1], v->file[2], v->file[3],
                v->product[0], v->product[1], v->product[2], v->product[3]);
  }
  return 0;
}

const RegisterCommand reg{"version", "FILE...", RunVersion};

}  // namespace
}  // namespace ostravel::media
