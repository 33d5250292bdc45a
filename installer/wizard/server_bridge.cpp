#include "installer/wizard/server_bridge.h"

#include "installer/dbserver/leave_checks.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

dbserver::ServerContext ServerContextOf(WizardController& wizard) {
  const WizardServices& s = wizard.Services();
  dbserver::ServerContext ctx{s.machine, s.process, s.variables, s.log, s.dialogs, wizard.Server()};
  ctx.errorJump = [&wizard](const std::string& message) { wizard.ApplicationEventsException(message); };
  ctx.minimise = [&wizard] { wizard.View().MinimiseApplication(); };
  ctx.restore = [&wizard] { wizard.View().RestoreApplication(); };
  return ctx;
}

}  // namespace

void ServerDecisionsOnLeavingInstallKind(WizardController& wizard, bool archiveAvailable) {
  dbserver::ServerContext ctx = ServerContextOf(wizard);
  dbserver::InstallKindLeaveCheck(ctx, archiveAvailable);
}

void ServerDecisionsOnLeavingDestination(WizardController& wizard) {
  dbserver::ServerContext ctx = ServerContextOf(wizard);
  dbserver::DestinationLeaveCheck(ctx, wizard.View().SelectedIndex(ctl::kCxOpSystem) == 0);
}

void ApplyServerModuleRules(WizardController& wizard, std::vector<model::InstallModuleEntry>& modules) {
  dbserver::ServerContext ctx = ServerContextOf(wizard);
  dbserver::ApplyServerModuleRules(ctx, modules);
}

}  // namespace ostravel::wizard
