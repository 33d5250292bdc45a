#include "installer/dbserver/setup_command.h"

#include "installer/dbserver/detection.h"

namespace ostravel::dbserver {
namespace {

constexpr const char* kCommonPart =
    "/SP- /VERYSILENT /SUPPRESSMSGBOXES /LOG=\"$DefaultDestination$\\fbsetup.log%\" /NOCANCEL /NORESTART "
    "/RESTARTEXITCODE=32767 /FORCE "
    "/TASKS=\"UseGuardianTask,UseApplicationTask,InstallCPLAppletTask,MenuGroupTask,CopyFbClientAsGds32Task,"
    "CopyFbClientToSysTask\"";
constexpr const char* kClassicComponents =
    " /COMPONENTS=\"ServerComponent\\ClassicServerComponent,ServerComponent,DevAdminComponent,ClientComponent\"";
constexpr const char* kSuperComponents =
    " /COMPONENTS=\"ServerComponent\\SuperServerComponent,ServerComponent,DevAdminComponent,ClientComponent\"";

}  // namespace

std::string SetupProgram(ServerContext& ctx) {
  return ctx.services.variables.ExpandVariables(Use64BitServer(ctx.services.machine) ? "$TempFolder$\\Firebird-2.5.4.26856_0_x64.exe"
                                                                   : "$TempFolder$\\Firebird-2.5.4.26856_0_Win32.exe");
}

std::string SetupParameters(ServerContext& ctx) {
  // Only the common part is expanded; the component part goes as it stands.
  return ctx.services.variables.ExpandVariables(kCommonPart) + (ctx.server.classicServer ? kClassicComponents : kSuperComponents);
}

}  // namespace ostravel::dbserver
