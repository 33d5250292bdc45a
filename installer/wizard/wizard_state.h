#pragma once
// The wizard's navigation and the window-level facts read at creation; reset when
// the window is created. The other concerns have models of their own
// (installer/model), owned by the controller beside this.
#include <cstdint>
#include <string>

#include "base/datetime.h"
#include "installer/wizard/page.h"

namespace ostravel::wizard {

struct WizardState {
  PageSet visiblePages;
  int firstPage = kPageCount;  // one past the last page when nothing is visible
  Page lastPage = Page::Welcome;
  bool wizardFinished = false;

  std::string copyTargetFolder;
  std::string configuredPath;
  std::string uninstallIconTitle = "Uninstall %s";
  DateTime installStartTime;

  // The installation kind selected when cxInstallKind last received the focus.
  int kindAtFocus = 0;
  // The destination last seen by the destination page and its edit (a change
  // empties the component list), and the lifted drive and folder locks.
  std::string rememberedDestination;
  bool adminFreedom = false;
  // Why an unattended run stopped on a page; written to the diagnostic log.
  std::string unattendedStop;

  // The progress page's run: working now (a close is refused like Cancel), and
  // over (Back never leads into it again).
  bool runInProgress = false;
  bool runDone = false;
  // The shortcut group the icons page offered; the group chosen there replaces it
  // in the placements of the shortcuts.
  std::string offeredIconGroup;

  // The running-installer atom, deleted when the window goes.
  uint16_t runningAtom = 0;
};

}  // namespace ostravel::wizard
