#include "installer/dbserver/setup_exit_code.h"

#include "base/text.h"

namespace ostravel::dbserver {

void ShowServerErrorBox(ServerContext& ctx, const std::string& text) {
  // Language 0 captions the box "Error" and its button "OK".
  ctx.services.dialogs.ShowMessage(text, ui::MsgDlgType::Error, ui::mbOK, 0);
}

void ReportSetupExitCode(ServerContext& ctx, int exitCode) {
  if (SetupSucceeded(exitCode)) return;
  ShowServerErrorBox(ctx, "Hiba történt a FireBird 2.5.4.26856 kiszolgálóalkalmazás telepítése közben! Hibakód: " +
                              IntToStr(exitCode));
}

}  // namespace ostravel::dbserver
