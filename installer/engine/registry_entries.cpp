#include "installer/engine/registry_entries.h"

#include "base/text.h"
#include "installer/script/script_lists.h"

namespace ostravel::engine {

const char* const kRegistryFailed = "A Regisztrációs Adatbázis bejegyzés tárolása sikertelen!";

namespace {

RegistryRecord FromKeys(const RegistryKeys& k, const PathVariables& vars) {
  RegistryRecord r;
  r.rootName = k.rootKey;
  r.root = platform::RootKeyFromName(k.rootKey);
  r.subKey = k.subKey;
  r.valueName = k.valueName;
  r.valueData = vars.ExpandVariables(k.valueData);
  r.createKey = k.createKey;
  r.overwriteValue = k.overwriteValue;
  return r;
}

RegistryRecord UninstallValue(const std::string& application, const std::string& name, const std::string& data) {
  RegistryRecord r;
  r.rootName = "HKEY_LOCAL_MACHINE";
  r.root = platform::RootKey::LocalMachine;
  r.subKey = std::string(kUninstallKey) + application;
  r.valueName = name;
  r.valueData = data;
  r.createKey = r.overwriteValue = true;
  return r;
}

// One record; false when it failed.
bool WriteRecord(RunContext& ctx, const RegistryRecord& r) {
  platform::Registry& reg = ctx.services.machine.registry;
  bool failed = false;
  const bool exists = r.root && reg.KeyExists(*r.root, r.subKey);
  if (!exists && r.createKey) {
    if (r.root && reg.CreateKey(*r.root, r.subKey))
      ctx.record.push_back({model::RecordAction::CreateRegKey, r.rootName + ";" + r.subKey});
    else
      failed = true;
  }
  if (r.root && reg.KeyExists(*r.root, r.subKey)) {
    std::string old;
    const bool valueExists = reg.ReadString(*r.root, r.subKey, r.valueName, old) != platform::RegRead::Missing;
    if (!valueExists || r.overwriteValue) {
      if (reg.WriteString(*r.root, r.subKey, r.valueName, r.valueData))
        ctx.record.push_back({model::RecordAction::WriteRegValue, r.rootName + ";" + r.subKey + ";" + r.valueName});
      else
        failed = true;
    }
  }
  return !failed;
}

}  // namespace

std::vector<RegistryRecord> ReadRegistryList(const TExtIniFile& script,
                                             const std::vector<model::InstallModuleEntry>& modules,
                                             const PathVariables& vars, const UninstallRegistration& uninstall) {
  std::vector<RegistryRecord> list;
  for (const auto& module : modules) {
    if (!module.included) continue;
    for (const RegistryKeys& keys : ReadRegistryList(script, module.name)) list.push_back(FromKeys(keys, vars));
  }
  if (uninstall.add) {
    const std::string application = vars.ExpandVariables("$ApplicationName$");
    const std::string command = "\"" + WithTrailing(vars.ExpandVariables("$CommonFilesFolder$"), '\\') +
                                "Quillmarch Shared\\setup.exe\" /u /l\"" +
                                vars.ExpandVariables(uninstall.installRecordPath) + "\"";
    list.push_back(UninstallValue(application, "DisplayName", application));
    list.push_back(UninstallValue(application, "UninstallString", command));
  }
  return list;
}

bool UpdateRegistry(RunContext& ctx, const std::vector<RegistryRecord>& records, const FileList& files,
                    const std::string& registerComponentsText) {
  ctx.progress.SetStatus(registerComponentsText);
  ctx.progress.SetRange(0, int(records.size()));
  ctx.progress.SetPosition(0);
  ctx.progress.SetBaseOffset(0);
  ctx.progress.ProcessMessages();
  for (const RegistryRecord& r : records) {
    if (!WriteRecord(ctx, r)) {
      ctx.errorJump(kRegistryFailed);
      return false;
    }
    ctx.progress.SetPosition(ctx.progress.Position() + 1);
  }
  RemoveRunAsAdminLayers(ctx, files);
  return true;
}

void RemoveRunAsAdminLayers(RunContext& ctx, const FileList& files) {
  const platform::WindowsVersion v = ctx.services.machine.system.GetWindowsVersion();
  if (!v.nt || v.major != 6 || (v.minor != 0 && v.minor != 1)) return;
  static const char* const kLayers = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
  platform::Registry& reg = ctx.services.machine.registry;
  for (const FileRecord& f : files.Records()) {
    if (!f.isProgram) continue;
    std::string text;
    if (reg.ReadString(platform::RootKey::CurrentUser, kLayers, f.targetPath, text) != platform::RegRead::Ok) continue;
    const std::string upper = UpperCase(text);
    const size_t at = upper.find("RUNASADMIN");
    bool remove;
    if (at == std::string::npos)
      remove = Trim(text).empty();
    else if (at > 0)
      remove = true;
    else
      remove = Trim(upper.substr(10)).empty();
    if (remove) reg.DeleteValue(platform::RootKey::CurrentUser, kLayers, f.targetPath);
  }
}

}  // namespace ostravel::engine
