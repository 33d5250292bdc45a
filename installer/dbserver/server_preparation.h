#pragma once
#include <string>

#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

inline constexpr const char* kCannotStopFirebird = "A telepítő nem tudta leállítani a futó Firebird kiszolgáló-alkalmazást!";
inline constexpr const char* kServerSetupFailed =
    "Sikertelen volt a FireBird 2.5.4.26856 kiszolgálóalkalmazás telepítése! Kérem sürgösen értesítse a Belloro Kft.-t!";

// Called by the installation run (step 6) after the file list is built, with the
// progress bar hidden; the run shows it again afterwards. Removes an older server,
// keeps the compatibility marks right, runs the server's setup silently when
// `installServer` is set (from `copyTargetFolder` for the web-update kind, else
// from the installer's folder), finds the 2.5 server again, edits its
// configuration, the autostart value and DefaultInstance, and checks the version.
// False when it handed an error to the error jump: the run ends there.
bool PrepareServer(ServerContext& ctx, bool webUpdateKind, const std::string& copyTargetFolder);

}  // namespace ostravel::dbserver
