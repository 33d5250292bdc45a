// ostravel-media scramble / unscramble IN OUT: the setup script's form on a medium.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "startup/scramble.h"
#include "tools/media/binary_file.h"
#include "tools/media/command.h"

namespace ostravel::media {

namespace {

bool ReadArgs(const char* command, const std::vector<std::string>& args, std::string& data) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: ostravel-media %s IN OUT\n", command);
    return false;
  }
  if (!ReadBinary(args[0], data)) {
    std::fprintf(stderr, "%s: cannot read %s\n", command, args[0].c_str());
    return false;
  }
  return true;
}

int Write(const char* command, const std::string& path, const std::string& data) {
  if (WriteBinary(path, data)) return 0;
  std::fprintf(stderr, "%s: cannot write %s\n", command, path.c_str());
  return 1;
}

int RunScramble(const std::vector<std::string>& args) {
  std::string plain;
  if (!ReadArgs("scramble", args, plain)) return args.size() == 2 ? 1 : 2;
  const startup::ScrambleResult result = startup::ScrambleScript(plain);
  if (!result.error.empty()) {
    std::fprintf(stderr, "scramble: %s: %s\n", args[0].c_str(), result.error.c_str());
    return 1;
  }
  return Write("scramble", args[1], result.data);
}

int RunUnscramble(const std::vector<std::string>& args) {
  std::string scrambled;
  if (!ReadArgs("unscramble", args, scrambled)) return args.size() == 2 ? 1 : 2;
  return Write("unscramble", args[1], startup::DescrambleScript(scrambled));
}

const RegisterCommand scrambleReg{"scramble", "IN OUT", RunScramble};
const RegisterCommand unscrambleReg{"unscramble", "IN OUT", RunUnscramble};

}  // namespace

}  // namespace ostravel::media
