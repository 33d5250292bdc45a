#pragma once
#include "installer/platform/registry.h"

namespace ostravel::dbserver {

// The rights test, taken once when the main window is created (its result goes to
// `ServerDecisions::hasAdminRights`): true exactly when this process may write
// under HKEY_LOCAL_MACHINE, i.e. when the Firebird instances key opens (created
// when missing) for writing. Every key it opens is closed again.
bool HasAdminRights(platform::Registry& registry);

}  // namespace ostravel::dbserver
