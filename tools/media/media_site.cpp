// ostravel-media site MEDIUM_DIR OUT_DIR --year YYYY [--dos] [--sign PRIVATE]
#include <cstdio>

#include "tools/media/binary_file.h"
#include "tools/media/command.h"
#include "tools/media/update_site.h"

namespace ostravel::media {
namespace {

const char* const kUsage = "MEDIUM_DIR OUT_DIR --year YYYY [--dos] [--sign PRIVATE]";

int RunSite(const std::vector<std::string>& args) {
  SiteOptions o;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dos") {
      o.dos = true;
    } else if (args[i] == "--sign" && i + 1 < args.size()) {
      o.signingKey = PathOf(args[++i]);
    } else if (args[i] == "--year" && i + 1 < args.size()) {
      o.year = args[++i];
    } else if (args[i].rfind("--", 0) == 0) {
      std::fprintf(stderr, "ostravel-media site: unknown option %s\n", args[i].c_str());
      positional.clear();
      break;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2 || o.year.empty()) {
    std::fprintf(stderr, "usage: ostravel-media site %s\n", kUsage);
    return 2;
  }
  o.mediumDir = PathOf(positional[0]);
  o.outDir = PathOf(positional[1]);
  const SiteResult r = BuildUpdateSite(o);
  for (const auto& m : r.messages) std::fprintf(r.exitCode ? stderr : stdout, "%s\n", m.c_str());
  if (r.exitCode == 0) std::printf("site: %s\n", r.folder.string().c_str());
  return r.exitCode;
}

const RegisterCommand kSite("site", kUsage, RunSite);

}  // namespace
}  // namespace ostravel::media
