#pragma once
// What the end of the wizard does besides closing: the error page's link, the
// programs started when a finished wizard closes, and the moved-start notice.
#include <string>

namespace ostravel::model {

struct FinishActions {
  bool showErrorLink = false;
  std::string errorLinkUrl;
  std::string installerProgramPath;  // "install.exe" of the file list, started on close
  std::string restartCommand;        // the new launcher of a self-update, started on close
  bool startLocationChanged = false;
};

}  // namespace ostravel::model
