#include "base/cp1250.h"
#include "installer/engine/install_steps.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

// The command line is the program and its parameters joined by a blank: a path
// with blanks must travel quoted.
std::string Program(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

}  // namespace

void ExecuteExternalInstallerFiles(RunContext& ctx, const FileList& list) {
  ctx.progress.SetBusyCursor(true);
  for (const FileRecord& r : list.Records()) {
    if (!r.usableTarget) continue;
    const std::string target = ctx.services.variables.ExpandVariables(r.targetPath);
    if (LowerCase(ExtensionOf(target)) == ".msi") {
      const std::string parameters = "/i \"" + target + "\" /qn";
      ctx.progress.SetFileLabel("Végrehajtás: msiexec.exe " + parameters);
      ctx.progress.ProcessMessages();
      // By full path: the working folder is the user-writable copy of the medium,
      // and an elevated run must not start a program planted there.
      ctx.services.machine.system.RunAndWait(Program(ctx.services.process.systemFolder + "msiexec.exe"), parameters);
      ctx.services.machine.files.DeleteFile(target);
    }
    if (LowerCase(FileNameOf(target)) == "register_com_servers.bat") {
      ctx.progress.SetFileLabel("COM kiszolgálók regisztrálása...");
      ctx.progress.ProcessMessages();
      // The batch's commands are found beside it, not in the working folder.
      ctx.services.machine.system.RunAndWait(Program(target), "", FolderOf(target) + "\\");
    }
  }
  ctx.progress.SetBusyCursor(false);
}

}  // namespace ostravel::engine
