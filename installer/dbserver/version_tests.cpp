#include "installer/dbserver/version_tests.h"

#include "base/text.h"
#include "base/version_text.h"
#include "installer/dbserver/server_names.h"

namespace ostravel::dbserver {

std::string VersionText(const platform::VersionRecord& r) {
  return Format("%u.%u.%u.%u", unsigned(r.productMajor), unsigned(r.productMinor), unsigned(r.productRelease),
                unsigned(r.productBuild));
}

std::string ServerProgramOf(platform::FileSystem& files, const std::string& folder) {
  const std::string base = WithTrailing(folder, '\\');
  for (const char* program : {"bin\\fb_inet_server.exe", "bin\\fbserver.exe", "ibserver.exe"})
    if (files.FileExists(base + program)) return base + program;
  return "";
}

std::string ServerVersionOf(platform::Platform& machine, const std::string& folder) {
  if (Trim(folder).empty()) return "";
  const std::string program = ServerProgramOf(machine.files, folder);
  if (program.empty()) return "";
  const platform::VersionRecord record = machine.system.ReadVersion(program);
  return record.valid ? VersionText(record) : "";
}

bool OlderThanTarget(platform::Platform& machine, const std::string& folder) {
  const std::string version = ServerVersionOf(machine, folder);
  return !version.empty() && CompareVersionText(version, kTargetVersion) < 0;
}

bool DiffersFromTarget(platform::Platform& machine, const std::string& folder, std::string& found) {
  found = ServerVersionOf(machine, folder);
  return !found.empty() && CompareVersionText(found, kTargetVersion) != 0;
}

}  // namespace ostravel::dbserver
