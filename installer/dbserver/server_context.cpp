#include "installer/dbserver/server_context.h"

#include "base/installer_error.h"

namespace ostravel::dbserver {

void ErrorJump(ServerContext& ctx, const std::string& message) {
  if (!ctx.errorJump) throw InstallerError(message);
  ctx.errorJump(message);
}

}  // namespace ostravel::dbserver
