#include "installer/wizard/component_list.h"

#include "base/regional.h"
#include "installer/engine/component_update.h"
#include "installer/net/installer_version.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/processing_panel.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

struct BuildContext {
  WizardController& wizard;
  const TExtIniFile& script;
  bool askUpdateTest;  // Custom and WebUpdate look at the installed files
  bool webUpdate;
};

model::ComponentEntry ReadEntry(BuildContext& b, const std::string& module, const ComponentKeys& keys) {
  const Services& services = b.wizard.Services();
  model::ComponentEntry e;
  e.module = module;
  e.number = keys.number;
  e.checked = keys.checked;
  e.enabled = keys.enabled;
  bool mandatory = false;
  if (e.enabled && b.askUpdateTest) {
    const engine::ComponentUpdate update = engine::ComponentNeedsUpdate(services.machine.files, services.machine.system,
                                                                        services.variables, b.script, keys.number);
    e.checked = update.needsUpdate;
    e.description = update.report;
    mandatory = update.productVersionOlder;
  }
  e.packName = keys.packName;
  e.packagePresent = services.machine.files.FileExists(services.process.sourceFolder + e.packName + ".dat");
  if (!b.webUpdate && !e.packagePresent) e.enabled = e.checked = false;
  if (module == "FireBird" && b.wizard.Server().freshServerInstall) {
    e.enabled = false;
    e.checked = true;
  }
  e.alwaysUpdate = keys.alwaysUpdate;
  e.size = keys.size;
  e.packSize = keys.packSize;
  e.name = keys.name;
  e.packChecksum = keys.packMD5Checksum;
  e.valid = true;
  // A self-update installs the installer's own package and nothing else: what the
  // update test finds mandatory is the new installer's to install.
  if (b.wizard.Web().installerUpdateRequired) {
    net::ApplyInstallerUpdate(e, b.wizard.Expand(keys.targetDir), b.wizard.Finish().restartCommand);
    mandatory = false;
  }
  if (mandatory) {
    e.enabled = false;
    e.checked = true;
    e.alwaysUpdate = true;
  }
  e.selected = e.checked;
  return e;
}

void StepProgress(ViewProgress& progress) {
  progress.SetPosition(progress.Position() + 1);
  progress.ProcessMessages();
}

}  // namespace

void EmptyComponentList(WizardController& wizard) {
  wizard.Selection().components.clear();
  wizard.View().SetItems(ctl::kClbComponents, {});
}

void BuildComponentEntries(WizardController& wizard, const std::string& scriptPath) {
  HourglassScope hourglass(wizard.View());
  EmptyComponentList(wizard);
  const bool web = WebUpdateKindSelected(wizard);
  WithScript(wizard.Services().machine.files, scriptPath, [&](const TExtIniFile& script) {
    BuildContext build{wizard, script, web || CustomKindSelected(wizard), web};
    for (const model::InstallModuleEntry& module : std::vector(wizard.Selection().modules)) {
      if (!module.included) continue;
      for (const ComponentKeys& keys : ReadComponentList(script, module.name)) {
        wizard.Selection().components.push_back(ReadEntry(build, module.name, keys));
        StepProgress(wizard.Progress());
      }
    }
  });
}

int64_t FillCheckList(WizardController& wizard) {
  WizardView& view = wizard.View();
  HourglassScope hourglass(view);
  const bool web = WebUpdateKindSelected(wizard);
  const bool changeable = web || CustomKindSelected(wizard);
  const bool updateRequired = wizard.Web().installerUpdateRequired;
  std::vector<std::string> names;
  std::vector<const model::ComponentEntry*> owners;
  int64_t total = 0;
  for (const model::ComponentEntry& e : wizard.Selection().components) {
    if (e.size == 0 || (!e.packagePresent && !web)) continue;
    total += e.size;
    // Two components of one name share the first item of that name.
    if (std::find(names.begin(), names.end(), e.name) != names.end()) continue;
    names.push_back(e.name);
    owners.push_back(&e);
  }
  view.SetItems(ctl::kClbComponents, names);
  for (size_t i = 0; i < owners.size(); ++i) {
    const model::ComponentEntry& e = *owners[i];
    bool enabled = e.checked || updateRequired ? e.enabled : true;  // an unchecked item can always be checked
    if (changeable && e.checked) enabled = !e.alwaysUpdate;
    view.SetItemChecked(ctl::kClbComponents, int(i), e.checked);
    view.SetItemEnabled(ctl::kClbComponents, int(i), enabled);
  }
  return total;
}

int ComponentItemIndex(WizardController& wizard, const std::string& name) {
  const std::vector<std::string> items = wizard.View().Items(ctl::kClbComponents);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == name) return int(i);
  return -1;
}

std::string FormatMegabytes(int64_t bytes) { return FormatNumber2(double(bytes) / 1048576.0) + " MB"; }

}  // namespace ostravel::wizard
