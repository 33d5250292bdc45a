#pragma once
// The server decisions taken when the user leaves the installation-kind and the
// destination pages, and the server's part of the install module list.
#include <vector>

#include "installer/dbserver/server_context.h"
#include "installer/model/selection.h"

namespace ostravel::dbserver {

inline constexpr const char* kCannotStopRunningServer =
    "A Telepítő nem tudta leállítani a futó InterBase/FireBird alkalmazást!";
inline constexpr const char* kAdminRightsNeeded =
    "Az alkalmazás (FireBird adatbázis-szerver) telepítéséhez rendszergazda-jogosultság szükséges!";

// Called by the installation-kind page's Next check after it has built
// `WebUpdateUrl` and adjusted the destination. `archiveAvailable`: the caller's
// answer whether the server archive exists (the web file check for the web-update
// kind, which the page runs with its processing panel; else the file beside the
// installer). Finds the server, decides `upgradeServer` and stops the running
// servers for an upgrade at once, remembering what ran (the wizard puts it back
// when it ends without the run's service step). False when it handed an error to
// the error jump.
bool InstallKindLeaveCheck(ServerContext& ctx, bool archiveAvailable);

// Called by the destination page's Next check once the destination folder exists.
// `windowsVariant`: the first operating-system entry is chosen. Decides
// `writeAppDefaults`, `freshServerInstall` and `installServer`; the caller then
// rebuilds the install module list, which calls ApplyServerModuleRules.
void DestinationLeaveCheck(ServerContext& ctx, bool windowsVariant);

// Called by whoever builds the install module list, after the modules are read:
// the "FireBird" module is included exactly when the server is installed or a
// fresh server is due; an included "PETTYBOX" module pulls it in (and switches
// `installServer` on) when no server is installed or one is to be installed anyway.
void ApplyServerModuleRules(ServerContext& ctx, std::vector<model::InstallModuleEntry>& modules);

}  // namespace ostravel::dbserver
