// Any bytes as a setup script: loading, typed reads, lists, expansion and the
// write-back never crash, writing back is stable (a normalised script normalises
// to itself), and nested readers that commit in turn both keep their writes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/platform/fake/fake_registry.h"
#include "installer/platform/fake/memory_file_system.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/path_variables.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"

namespace {

constexpr const char* kPath = "C:\\Setup\\setup.inf";

std::string ReadEverything(ostravel::TExtIniFile& ini) {
  using namespace ostravel;
  platform::FakeRegistry registry;
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
  return ini.ContentText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ostravel;
  platform::MemoryFileSystem fs;
  fs.AddFile(kPath, std::string(reinterpret_cast<const char*>(data), size));
  std::string first;
  {
    TExtIniFile outer(fs, kPath, true);
    first = ReadEverything(outer);
    outer.WriteString("Fuzz", "Outer", "1");
    WithScript(fs, kPath, [](TExtIniFile& inner) { inner.WriteString(section::kConfiguration, "Language", "11"); });
    outer.UpdateFile();
  }
  TExtIniFile both(fs, kPath, false);
  if (both.ReadString("Fuzz", "Outer", "") != "1" || both.ReadString(section::kConfiguration, "Language", "") != "11")
    std::abort();

  fs.AddFile(kPath, first);
  TExtIniFile again(fs, kPath, false);
  if (again.ContentText() != first) std::abort();
  return 0;
}
