#include "installer/wizard/server_bridge.h"

#include "installer/dbserver/leave_checks.h"
#include "installer/dbserver/server_restore.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

dbserver::ServerContext ServerContextOf(WizardController& wizard) {
  dbserver::ServerContext ctx{wizard.Services(), wizard.Server()};
  ctx.errorJump = [&wizard](const std::string& message) { wizard.ApplicationEventsException(message); };
  ctx.minimise = [&wizard] { wizard.View().MinimiseApplication(); };
  ctx.restore = [&wizard] { wizard.View().RestoreApplication(); };
  return ctx;
}

// The stop waits for the services while the window handles its messages: the
// buttons that could start it again stay disabled meanwhile. A wizard that moved
// to the error page keeps that page's buttons.
class ButtonsDisabled {
 public:
  explicit ButtonsDisabled(WizardController& wizard) : wizard_(wizard), page_(wizard.CurrentPage()) {
    for (const char* button : kButtons) {
      enabled_.push_back(wizard_.View().Enabled(button));
      wizard_.View().SetEnabled(button, false);
    }
  }
  ~ButtonsDisabled() {
    if (wizard_.CurrentPage() != page_) return;
    try {
      for (size_t i = 0; i < enabled_.size(); ++i) wizard_.View().SetEnabled(kButtons[i], enabled_[i]);
    } catch (...) {
      // Restoring runs while an error may be on its way to the error page.
    }
  }

 private:
  static constexpr const char* kButtons[] = {ctl::kBackButton, ctl::kNextButton, ctl::kCancelButton};
  WizardController& wizard_;
  std::optional<Page> page_;
  std::vector<bool> enabled_;
};

}  // namespace

void ServerDecisionsOnLeavingInstallKind(WizardController& wizard, bool archiveAvailable) {
  dbserver::ServerContext ctx = ServerContextOf(wizard);
  ButtonsDisabled locked(wizard);
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

void PutBackStoppedServer(WizardController& wizard) {
  if (wizard.Server().stopped.heldByRun) return;
  dbserver::ServerContext ctx = ServerContextOf(wizard);
  dbserver::RestoreServers(ctx);
}

void PutBackServersOfKilledRun(WizardController& wizard) {
  dbserver::ServerContext ctx = ServerContextOf(wizard);
  dbserver::PutBackServersOfKilledRun(ctx);
}

ServerHeldByRun::ServerHeldByRun(WizardController& wizard) : wizard_(wizard) {
  wizard_.Server().stopped.heldByRun = true;
}

ServerHeldByRun::~ServerHeldByRun() { wizard_.Server().stopped.heldByRun = false; }

}  // namespace ostravel::wizard
