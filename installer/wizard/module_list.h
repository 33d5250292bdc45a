#pragma once
// The install modules of the script in use: which of them the installation reads.
#include "installer/script/ext_ini_file.h"

namespace ostravel::wizard {

class WizardController;

// Clears and rebuilds `Selection().modules`: the base product, then each named
// module of [Install Modules]; the server module follows the server decisions.
void BuildModuleList(WizardController& wizard, const TExtIniFile& script);

}  // namespace ostravel::wizard
