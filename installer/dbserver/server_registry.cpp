#include "installer/dbserver/server_registry.h"

#include "base/text.h"
#include "installer/dbserver/detection.h"
#include "installer/dbserver/server_names.h"

namespace ostravel::dbserver {

using platform::RegView;
using platform::RootKey;

void CleanCompatibilityLayers(platform::Registry& registry) {
  registry.CreateKey(RootKey::CurrentUser, kLayersKey);
  for (const std::string& name : registry.ValueNames(RootKey::CurrentUser, kLayersKey)) {
    for (const char* program : {"fbguard.exe", "fbserver.exe", "fb_inet_server.exe", "instsvc.exe", "instreg.exe"}) {
      if (name.find(program) == std::string::npos) continue;
      registry.DeleteValue(RootKey::CurrentUser, kLayersKey, name);
      break;
    }
  }
}

void MarkServerRunAsAdmin(ServerContext& ctx) {
  std::string folder = ReadDefaultInstance(ctx.services.machine.registry);
  if (Trim(folder).empty())
    folder = ctx.services.variables.ExpandVariables(Use64BitServer(ctx.services.machine) ? "$ProgramFilesFolder64$\\FireBird\\Firebird_2_5\\"
                                                                       : "$ProgramFilesFolder$\\FireBird\\Firebird_2_5\\");
  platform::Registry& registry = ctx.services.machine.registry;
  registry.CreateKey(RootKey::CurrentUser, kLayersKey);
  for (const char* program : {"bin\\fbguard.exe", "bin\\fbserver.exe", "bin\\instsvc.exe", "bin\\instreg.exe"})
    registry.WriteString(RootKey::CurrentUser, kLayersKey, folder + program, "RUNASADMIN");
}

void RemoveAutostartValue(platform::Platform& machine) {
  // On 64-bit Windows the path names the 32-bit key itself, so it is opened in the
  // native view, where that path exists.
  const bool wow64 = machine.system.IsWow64();
  const char* key = wow64 ? "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"
                          : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  const RegView view = wow64 ? RegView::Wow64 : RegView::Wow32;
  if (machine.registry.KeyExists(RootKey::LocalMachine, key, view))
    machine.registry.DeleteValue(RootKey::LocalMachine, key, "Firebird", view);
}

void WriteDefaultInstance(platform::Registry& registry, const std::string& folder) {
  registry.WriteString(RootKey::LocalMachine, kInstancesKey, kDefaultInstance, folder);
}

}  // namespace ostravel::dbserver
