#include "installer/dbserver/detection.h"

#include "base/text.h"
#include "installer/dbserver/server_names.h"

namespace ostravel::dbserver {
namespace {

using platform::RegRead;
using platform::RootKey;

std::string ReadMachineText(platform::Registry& registry, const char* key, const char* name) {
  std::string value;
  return registry.ReadString(RootKey::LocalMachine, key, name, value) == RegRead::Ok ? value : "";
}

bool HoldsAny(platform::FileSystem& files, const std::string& folder, std::initializer_list<const char*> programs) {
  for (const char* program : programs)
    if (files.FileExists(folder + program)) return true;
  return false;
}

}  // namespace

std::string ReadDefaultInstance(platform::Registry& registry) {
  return ReadMachineText(registry, kInstancesKey, kDefaultInstance);
}

bool ServerInstalled(platform::Platform& machine) {
  std::string folder;
  if (machine.registry.ReadString(RootKey::LocalMachine, kInterBaseKey, "ServerDirectory", folder) == RegRead::Ok)
    return machine.files.FileExists(WithTrailing(folder, '\\') + "ibserver.exe");
  if (machine.registry.ReadString(RootKey::LocalMachine, kInstancesKey, kDefaultInstance, folder) == RegRead::Ok)
    return HoldsAny(machine.files, WithTrailing(folder, '\\'), {"bin\\fbserver.exe", "bin\\fb_inet_server.exe"});
  const std::string base = "C:\\Program Files\\FireBird";
  if (!machine.files.DirectoryExists(base)) return false;
  // The listing leaves out "." and ".."; on the disk they come first, so the base
  // folder itself and its parent are looked at first.
  std::vector<std::string> folders{base, "C:\\Program Files"};
  for (const std::string& name : machine.files.List(base)) folders.push_back(base + "\\" + name);
  for (const std::string& folder : folders) {
    if (!machine.files.DirectoryExists(folder)) continue;
    if (HoldsAny(machine.files, folder, {"\\bin\\fbserver.exe", "\\bin\\fbguard.exe", "\\bin\\fb_inet_server.exe"}))
      return true;
  }
  return false;
}

std::string SearchServerFolder(ServerContext& ctx, uint16_t major, uint16_t minor) {
  platform::Platform& machine = ctx.services.machine;
  ctx.server.classicServer = false;
  const std::string base =
      ctx.services.variables.ExpandVariables(Use64BitServer(machine) ? "$ProgramFilesFolder64$\\FireBird"
                                                            : "$ProgramFilesFolder$\\FireBird");
  if (!machine.files.DirectoryExists(base)) return "";
  std::string result, candidate;
  for (const std::string& name : machine.files.List(base)) {
    if (!Trim(result).empty()) break;
    const std::string entry = base + "\\" + name;
    if (!machine.files.DirectoryExists(entry)) continue;
    // The last one present wins; with none, the previous entry's stays.
    for (const char* program : {"\\bin\\fbserver.exe", "\\bin\\fbguard.exe", "\\bin\\fb_inet_server.exe"})
      if (machine.files.FileExists(entry + program)) candidate = entry + program;
    if (machine.files.FileExists(entry + "\\bin\\fb_inet_server.exe")) ctx.server.classicServer = true;
    if (major == 0 && minor == 0) {
      result = entry + "\\";
      continue;
    }
    if (candidate.empty()) continue;
    const platform::VersionRecord v = machine.system.ReadVersion(candidate);
    if ((v.productMajor == major || v.fileMajor == major) && (v.productMinor == minor || v.fileMinor == minor))
      result = entry + "\\";
  }
  return result;
}

bool Use64BitServer(platform::Platform& machine) {
  if (!machine.system.IsWow64()) return false;
  const std::string programs = ReadMachineText(machine.registry, kWindowsVersionKey, "ProgramFilesDir");
  const std::string programs32 = ReadMachineText(machine.registry, kWindowsVersionKey, "ProgramFilesDir (x86)");
  if (programs.empty() || programs32.empty()) return false;
  const std::string instance = ReadDefaultInstance(machine.registry);
  const size_t n = programs.size();
  return instance.substr(0, std::min(n, instance.size())) != programs32.substr(0, std::min(n, programs32.size()));
}

}  // namespace ostravel::dbserver
