#include "base/text.h"
#include "installer/engine/install_steps.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {

void CreateAdditionalFolders(RunContext& ctx, const std::vector<std::string>& folders) {
  for (const std::string& written : folders) {
    if (Trim(written).empty()) continue;
    const std::string folder = NormalizeTargetPath(ctx.services.variables.ExpandVariables(written));
    // A folder the script names through an undefined variable would land relative
    // to wherever the installer runs.
    if (!IsUsableTargetPath(folder)) {
      ctx.services.log.WriteLog("CreateAdditionalFolders skipped: " + written);
      continue;
    }
    if (!ctx.services.machine.files.DirectoryExists(folder)) ctx.services.machine.files.CreateDirectories(folder);
  }
}

}  // namespace ostravel::engine
