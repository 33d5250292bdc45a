// ostravel-media: builds what the installer reads (archives, media, update sites).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/media/command.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: ostravel-media COMMAND [ARGS...]\n\ncommands:\n");
  for (const auto& c : ostravel::media::Commands()) std::fprintf(stderr, "  %s %s\n", c.name, c.usage);
  return 2;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") return Usage();
  for (const auto& c : ostravel::media::Commands()) {
    if (args[0] == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  std::fprintf(stderr, "ostravel-media: unknown command '%s'\n", args[0].c_str());
  return Usage();
}

}  // namespace

#ifdef _WIN32
#include "base/win32/wide.h"
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(ostravel::win32::Utf8(argv[i]));
  return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
