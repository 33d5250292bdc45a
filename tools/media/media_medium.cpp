// ostravel-media medium PRODUCT_DIR TEMPLATE OUT_DIR [--scramble] [--launcher FILE] [--installer FILE]
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/media/binary_file.h"
#include "tools/media/command.h"
#include "tools/media/medium_builder.h"

namespace ostravel::media {
namespace {
namespace fs = std::filesystem;

const char* const kUsage = "PRODUCT_DIR TEMPLATE OUT_DIR [--scramble] [--launcher FILE] [--installer FILE]";

// The programs of a Windows build beside the tool, the i686 one first: the host tool
// lives in build/host/tools/media, the Windows ones in build/win32 or build/win64.
fs::path DefaultProgram(const char* relative) {
  std::vector<fs::path> bases;
#ifndef _WIN32
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec).parent_path();
  if (!ec) bases = {self / "../../../win32", self / "../../../win64", self / "../.."};
#endif
  bases.insert(bases.end(), {"build/win32", "build/win64"});
  for (const auto& b : bases)
    if (fs::is_regular_file(b / relative)) return (b / relative).lexically_normal();
  return fs::path("build/win32") / relative;
}

int RunMedium(const std::vector<std::string>& args) {
  MediumOptions o;
  o.launcher = DefaultProgram("startup/startup.exe");
  o.installer = DefaultProgram("installer/installer.exe");
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--scramble") {
      o.scramble = true;
    } else if ((args[i] == "--launcher" || args[i] == "--installer") && i + 1 < args.size()) {
      (args[i] == "--launcher" ? o.launcher : o.installer) = PathOf(args[i + 1]);
      ++i;
    } else if (args[i].rfind("--", 0) == 0) {
      std::fprintf(stderr, "ostravel-media medium: unknown option %s\nusage: ostravel-media medium %s\n", args[i].c_str(), kUsage);
      return kMediumUnreadable;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 3) {
    std::fprintf(stderr, "usage: ostravel-media medium %s\n", kUsage);
    return kMediumUnreadable;
  }
  o.productDir = PathOf(positional[0]);
  o.templatePath = PathOf(positional[1]);
  o.outDir = PathOf(positional[2]);
  MediumResult r = BuildMedium(o);
  for (const auto& m : r.messages) std::fprintf(r.exitCode ? stderr : stdout, "%s%s", m.c_str(), m.empty() || m.back() != '\n' ? "\n" : "");
  return r.exitCode;
}

const RegisterCommand reg{"medium", kUsage, RunMedium};

}  // namespace
}  // namespace ostravel::media
