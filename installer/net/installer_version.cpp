#include "installer/net/installer_version.h"

#include "base/cp1250.h"
#include "base/text.h"
#include "base/version_text.h"
#include "installer/script/command_line.h"
#include "installer/script/setup_script.h"

namespace ostravel::net {

const char* const kNewInstallerRequired =
    "A Frissítő új telepítőmotor-változatot érzékelt az Interneten. Ahhoz, hogy frissítés megfelelően történjen, "
    "telepíteni kell az új változatot. Ezután telepítő újraindul és telepítheti az alkalmazást!";

std::string RunningInstallerVersion(platform::System& system) {
  const platform::VersionRecord v = system.ReadVersion(system.ProgramPath());
  if (!v.valid) return "0.0.0.0";
  return Format("%d.%d.%d.%d", v.fileMajor, v.fileMinor, v.fileRelease, v.fileBuild);
}

bool InstallerVersionCheck(const NetContext& net, model::WebUpdate& web, bool webUpdateKind, bool windowsVariant) {
  if (!webUpdateKind || !windowsVariant) return web.installerUpdateRequired;
  const std::string running = RunningInstallerVersion(net.services.machine.system);
  const std::string required =
      WithScript(net.services.machine.files, net.services.process.scriptPath,
                 [](const TExtIniFile& ini) { return ReadConfigurationSection(ini).rqInstallerVersion; });
  if (CompareVersionText(running, required) < 0) {
    if (!net.services.process.SilentMode() && net.errorBox) net.errorBox(kNewInstallerRequired);
    web.installerUpdateRequired = true;
  }
  return web.installerUpdateRequired;
}

void ApplyInstallerUpdate(model::ComponentEntry& entry, const std::string& expandedTargetDir,
                          std::string& restartCommand) {
  entry.enabled = false;
  entry.checked = entry.packName == kSelfUpdatePackName;
  // Quoted when it holds a blank: unquoted, "C:\Program Files\..." would start "C:\Program.exe".
  const std::string program = expandedTargetDir + "\\setup.exe";
  if (entry.checked)
    restartCommand = (program.find(' ') == std::string::npos ? program : "\"" + program + "\"") + " /restart";
}

std::string UnattendedRestartCommand(const std::string& restartCommand, const std::vector<std::string>& parameters) {
  std::string command = Trim(restartCommand);
  for (const std::string& p : parameters) {
    const std::string upper = UpperCase(p);
    // The administrator's log goes on in the restarted run.
    if (upper.empty() || (upper.compare(0, 2, "/L") == 0 && !IsLogSwitch(p)) || upper.compare(0, 2, "-L") == 0 ||
        upper == "/S" || upper == "/RESTART" || upper == "/U" || upper == "-U")
      continue;
    command += " " + (p.find(' ') == std::string::npos ? p : "\"" + p + "\"");
  }
  return command;
}

}  // namespace ostravel::net
