#pragma once
// The database-server decisions of the two leave checks and of the module list,
// taken with the wizard's services and models, and the putting back of a server
// stopped on the way when the wizard ends without the run's service step.
#include <vector>

#include "installer/model/selection.h"

namespace ostravel::wizard {

class WizardController;

// Finds the server, decides the upgrade and stops a running server for it at once;
// a failure goes to the error jump.
void ServerDecisionsOnLeavingInstallKind(WizardController& wizard, bool archiveAvailable);
// Decides the fresh install, the application defaults and the server install.
void ServerDecisionsOnLeavingDestination(WizardController& wizard);
// The "FireBird" module follows the decisions; "PETTYBOX" may pull it in.
void ApplyServerModuleRules(WizardController& wizard, std::vector<model::InstallModuleEntry>& modules);

// The wizard ends here (finish or error page, the window going, a run over): a
// server that a stop took and the run's service step did not set up again is put
// back as it was. Nothing while the installation run works; its end decides.
void PutBackStoppedServer(WizardController& wizard);
// At the start: servers a killed run left stopped are put back as it found them.
void PutBackServersOfKilledRun(WizardController& wizard);

// While it lives, the installation run holds the stopped server.
class ServerHeldByRun {
 public:
  explicit ServerHeldByRun(WizardController& wizard);
  ~ServerHeldByRun();
  ServerHeldByRun(const ServerHeldByRun&) = delete;
  ServerHeldByRun& operator=(const ServerHeldByRun&) = delete;

 private:
  WizardController& wizard_;
};

}  // namespace ostravel::wizard
