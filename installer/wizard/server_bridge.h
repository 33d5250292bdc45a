#pragma once
// The database-server decisions of the two leave checks and of the module list,
// taken with the wizard's services and models.
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

}  // namespace ostravel::wizard
