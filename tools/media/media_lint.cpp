// ostravel-media lint SETUP_INF [--medium DIR]: findings with line numbers; exit code
// 0 clean, 1 findings, 2 unreadable input.
#include <cstdio>
#include <filesystem>

#include "installer/platform/local_file_system.h"
#include "tools/media/binary_file.h"
#include "tools/media/command.h"
#include "tools/media/medium_check.h"
#include "tools/media/product_scan.h"
#include "tools/media/script_lint.h"

namespace ostravel::media {
namespace {

const char* const kUsage = "SETUP_INF [--medium DIR]";

int RunLint(const std::vector<std::string>& args) {
  std::string script, medium;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--medium" && i + 1 < args.size()) medium = args[++i];
    else if (script.empty() && args[i].rfind("--", 0) != 0) script = args[i];
    else script.clear(), i = args.size();
  }
  if (script.empty()) {
    std::fprintf(stderr, "usage: ostravel-media lint %s\n", kUsage);
    return 2;
  }
  std::string content;
  if (!ReadBinary(script, content)) {
    std::fprintf(stderr, "ostravel-media lint: cannot read %s\n", script.c_str());
    return 2;
  }
  const std::string plain = PlainScriptText(content);
  std::vector<Finding> findings = LintScript(plain);
  if (!medium.empty()) {
    std::string folder;
    if (!std::filesystem::is_directory(PathOf(medium)) || !ToCp1250Exactly(medium, folder)) {
      std::fprintf(stderr, "ostravel-media lint: no medium folder %s\n", medium.c_str());
      return 2;
    }
    auto files = platform::MakeLocalFileSystem();
    auto more = CheckMedium(plain, *files, folder);
    findings.insert(findings.end(), more.begin(), more.end());
  }
  std::fputs(FormatFindings(script, findings).c_str(), stdout);
  return findings.empty() ? 0 : 1;
}

const RegisterCommand reg{"lint", kUsage, RunLint};

}  // namespace
}  // namespace ostravel::media
