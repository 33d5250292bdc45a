#pragma once
// Registry values of the script and the uninstall registration: read into the
// registry list, written by "UpdateRegistry", every created key and written value
// recorded for the uninstaller.
#include <optional>
#include <string>
#include <vector>

#include "installer/engine/file_list.h"
#include "installer/engine/run_context.h"
#include "installer/script/ext_ini_file.h"

namespace ostravel::engine {

struct RegistryRecord {
  std::optional<platform::RootKey> root;  // none for an unknown root name
  std::string rootName;                   // as written
  std::string subKey, valueName;
  std::string valueData;  // expanded
  bool createKey = false, overwriteValue = false;
};

inline constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
extern const char* const kRegistryFailed;

struct UninstallRegistration {
  bool add = false;                // UninstallEnabled and not UninstallMode
  std::string installRecordPath;   // unexpanded
};

std::vector<RegistryRecord> ReadRegistryList(const TExtIniFile& script,
                                             const std::vector<model::InstallModuleEntry>& modules,
                                             const PathVariables& variables, const UninstallRegistration& uninstall);

// "UpdateRegistry". The first record that fails hands kRegistryFailed to the error
// jump and ends the step (false); the compatibility clean-up of the installed
// programs runs only after every record went in.
bool UpdateRegistry(RunContext& context, const std::vector<RegistryRecord>& records, const FileList& files,
                    const std::string& registerComponentsText);

// The run-as-administrator layer the launcher may have left on the installed
// programs, removed on Windows 6.0 and 6.1.
void RemoveRunAsAdminLayers(RunContext& context, const FileList& files);

}  // namespace ostravel::engine
