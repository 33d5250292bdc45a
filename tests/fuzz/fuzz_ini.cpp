// Any bytes as a setup script: loading, typed reads, lists, expansion and the
// write-back never crash, and writing back is stable (a normalised script
// normalises to itself).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "installer/platform/fake/fake_registry.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/path_variables.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"

namespace {
std::string ScratchPath() {
  static std::string path = "/tmp/ostravel-fuzz-ini-" + std::to_string(getpid()) + ".inf";
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ostravel;
  const std::string path = ScratchPath();
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  platform::HostFileSystem fs;
  platform::FakeRegistry registry;
  std::string first;
  {
    TExtIniFile ini(fs, path, false);
    auto config = ReadConfigurationSection(ini);
    PathVariables vars(registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", "C:\\TEMP\\", "D:\\");
    vars.SetUserVariables(ReadVariablesSection(ini));
    vars.ExpandVariables(config.path);
    std::vector<std::string> lines;
    ini.ReadLines(section::kWelcomePage, lines);
    for (const auto& line : lines) vars.ExpandVariables(line);
    for (const auto& f : ReadFileList(ini, "")) vars.ExpandVariables(f.targetFile);
    ReadInstallModuleList(ini);
    ReadComponentList(ini, "");
    ReadFolderList(ini);
    RequiredSpace(ini);
    first = ini.ContentText();
  }
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(first.data(), 1, first.size(), f);
    std::fclose(f);
    TExtIniFile again(fs, path, false);
    if (again.ContentText() != first) std::abort();
  }
  std::remove(path.c_str());
  return 0;
}
