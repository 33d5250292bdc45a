// ostravel-media szdd IN OUT: the compressed installer ("_setup1.ex_") of a medium.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/media/binary_file.h"
#include "tools/media/command.h"
#include "tools/media/szdd_format.h"

namespace ostravel::media {

namespace {

int RunSzdd(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: ostravel-media szdd IN OUT\n");
    return 2;
  }
  std::string data;
  if (!ReadBinary(args[0], data)) {
    std::fprintf(stderr, "szdd: cannot read %s\n", args[0].c_str());
    return 1;
  }
  if (data.size() > 0xFFFFFFFFu) {
    std::fprintf(stderr, "szdd: %s is larger than the format's 4 GB\n", args[0].c_str());
    return 1;
  }
  // The header keeps the name's last character, which the "_" of the target replaces.
  const std::string name = PathOf(args[0]).filename().string();
  const char missing = name.empty() ? '\0' : name.back();
  const std::string packed = SzddCompress(data, missing);
  // Never ship a medium whose installer would not expand to the original.
  const auto check = SzddExpand(packed);
  if (!check || check->data != data) {
    std::fprintf(stderr, "szdd: internal error, %s does not expand back\n", args[0].c_str());
    return 1;
  }
  if (!WriteBinary(args[1], packed)) {
    std::fprintf(stderr, "szdd: cannot write %s\n", args[1].c_str());
    return 1;
  }
  std::printf("%s: %zu -> %zu bytes\n", args[1].c_str(), data.size(), packed.size());
  return 0;
}

const RegisterCommand reg{"szdd", "IN OUT", RunSzdd};

}  // namespace

}  // namespace ostravel::media
