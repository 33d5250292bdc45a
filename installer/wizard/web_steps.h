#pragma once
// The web update's network steps as the selection pages call them. The application
// binds them to the download code; host tests bind scripted answers. Unbound steps
// behave as an unreachable update site.
#include <functional>
#include <string>

#include "installer/model/web_update.h"

namespace ostravel::wizard {

struct WebSteps {
  // Leaving the installation-kind page: does the site answer for this address? A
  // failure has been reported (box, or exit code 1 when silent) when it says false.
  std::function<bool(const std::string& url)> fileExists;
  // First entry of the components page: fetches the update script, which becomes
  // the script in use; its local path. Raises InstallerError when it cannot.
  std::function<std::string(const model::WebUpdate& web)> downloadUpdateScript;
  // Right after the download: whether the site demands a newer installer (sets
  // `installerUpdateRequired`).
  std::function<bool(model::WebUpdate& web, bool webUpdateKind, bool windowsVariant)> installerVersionCheck;
  // The proxy button: `showDialog` shows the dialog on the values; what it stores
  // is kept in `web.proxy` and given to the HTTP client.
  using ProxyDialog = std::function<bool(model::ProxySettings& values)>;
  std::function<void(model::WebUpdate& web, const ProxyDialog& showDialog)> proxySettings;
};

}  // namespace ostravel::wizard
