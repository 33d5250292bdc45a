#pragma once
#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

// Called by the installation run's step "BelloroIniUpdate" (when the Windows
// variant is chosen) with the two flags of the destination check; only when both
// are set: writes the accounting program's local database settings into a missing
// "startinf.ini", and into a new per-year application ini when neither this year's
// nor last year's exists.
void WriteApplicationIniDefaults(ServerContext& ctx, bool writeAppDefaults, bool freshServerInstall);

}  // namespace ostravel::dbserver
