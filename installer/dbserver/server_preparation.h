#pragma once
#include <string>

#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

inline constexpr const char* kCannotStopFirebird = "A telepítő nem tudta leállítani a futó Firebird kiszolgáló-alkalmazást!";
inline constexpr const char* kServerSetupFailed =
    "Sikertelen volt a FireBird 2.5.4.26856 kiszolgálóalkalmazás telepítése! Kérem sürgösen értesítse a Belloro Kft.-t!";

// Called by the installation run (step 6) after the file list is built, with the
// progress bar hidden; the run shows it again afterwards. Sets an older server
// aside when a new one is to be installed, keeps the compatibility marks right,
// runs the server's setup silently when `installServer` is set (from
// `copyTargetFolder` for the web-update kind, else from the installer's folder),
// finds the 2.5 server again and checks it. A server that was not installed (an
// archive that cannot be extracted, a setup that cannot be started, no 2.5 folder
// or another version afterwards) undoes the upgrade: the old folder, its
// DefaultInstance and its services come back. Otherwise edits the configuration,
// writes DefaultInstance (only for a folder found) and keeps the old server's
// databases and configuration. False when it handed an error to the error jump:
// the run ends there.
bool PrepareServer(ServerContext& ctx, bool webUpdateKind, const std::string& copyTargetFolder);

}  // namespace ostravel::dbserver
