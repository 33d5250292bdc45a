#include "installer/dbserver/older_installation.h"

#include "base/text.h"
#include "base/version_text.h"
#include "installer/dbserver/detection.h"
#include "installer/dbserver/server_stop.h"
#include "installer/dbserver/version_tests.h"

namespace ostravel::dbserver {

bool RemoveOlderInstallation(platform::Platform& machine, const std::string& folder,
                             const std::string& targetVersion) {
  if (Trim(folder).empty() || !ServerInstalled(machine)) return false;
  const std::string base = WithTrailing(folder, '\\');
  const std::string classic = base + "bin\\fb_inet_server.exe";
  const std::string program = machine.files.FileExists(classic) ? classic : base + "bin\\fbserver.exe";
  const platform::VersionRecord record = machine.system.ReadVersion(program);
  if (!record.valid || CompareVersionText(targetVersion, VersionText(record)) <= 0) return false;
  if (!StopServers(machine)) return false;
  machine.files.DeleteTree(base);
  return true;
}

}  // namespace ostravel::dbserver
