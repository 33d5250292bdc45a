#pragma once
// The database-server decisions of the selection pages, read by the installation
// run. Owned by the wizard window for the whole run.
#include <string>

namespace ostravel::model {

struct ServerDecisions {
  std::string serverFolder;  // installation folder of the server found; empty for none
  bool classicServer = false;  // a scanned server folder holds the classic server program
  bool hasAdminRights = false;
  bool upgradeServer = false;
  bool installServer = false;
  bool freshServerInstall = false;
  bool writeAppDefaults = false;
};

}  // namespace ostravel::model
