#include "installer/wizard/module_list.h"

#include "installer/script/command_line.h"
#include "installer/script/script_lists.h"
#include "installer/wizard/server_bridge.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

void BuildModuleList(WizardController& wizard, const TExtIniFile& script) {
  const ProcessState& process = wizard.Services().process;
  platform::FileSystem& files = wizard.Services().machine.files;
  const model::ServerDecisions& server = wizard.Server();
  std::vector<model::InstallModuleEntry> modules;
  modules.push_back({"", true, true, false, true});
  for (const InstallModuleKeys& keys : ReadInstallModuleList(script)) {
    model::InstallModuleEntry m;
    m.name = keys.name;
    m.packagePresent = !keys.packName.empty() && files.FileExists(process.sourceFolder + keys.packName);
    m.switchGiven = !keys.parameter.empty() && ParamExists(process.parameters, keys.parameter);
    m.switchRequired = keys.paramRq;
    m.included = m.name == "FireBird" ? server.installServer || server.freshServerInstall
                                      : m.packagePresent && (m.switchGiven || !m.switchRequired);
    modules.push_back(m);
  }
  ApplyServerModuleRules(wizard, modules);
  wizard.Selection().modules = std::move(modules);
}

}  // namespace ostravel::wizard
