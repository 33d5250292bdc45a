#pragma once
// What the wizard window knows besides its controls; reset at window creation.
// The page pieces add their own fields here as they grow.
#include <cstdint>
#include <optional>
#include <string>

#include "base/datetime.h"
#include "installer/wizard/page.h"

namespace ostravel::wizard {

struct ProxySettings {
  std::optional<std::string> server, username, password;
  std::optional<uint32_t> port;
};

struct WizardState {
  PageSet visiblePages;
  int firstPage = kPageCount;  // one past the last page when nothing is visible
  Page lastPage = Page::Welcome;
  bool wizardFinished = false;

  std::string copyTargetFolder;
  std::string configuredPath;
  std::string uninstallIconTitle = "Uninstall %s";
  DateTime installStartTime;
  std::string restartCommand, installerProgramPath;
  bool noUpdateFound = false, startLocationChanged = false, installerUpdateRequired = false;

  // Combo positions of the installation kinds, -1 until added.
  int customKindIndex = -1, webUpdateKindIndex = -1, repairKindIndex = -1, rollbackKindIndex = -1;

  // Database server decisions.
  bool hasAdminRights = false;
  std::string serverFolder;
  bool upgradeServer = false, installServer = false, freshServerInstall = false, writeAppDefaults = false;

  std::string webUpdateUrl;
  std::string downloadGeneral, md5ChecksumFailed;
  ProxySettings proxy;

  // Set by a failed run: the error page offers this address.
  bool showErrorLink = false;
  std::string errorLinkUrl;

  // The running-installer atom, deleted when the window goes.
  uint16_t runningAtom = 0;
};

}  // namespace ostravel::wizard
