// ErrorFinish: where every failure and a cancelled wizard end.
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/server_bridge.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

PageEntryResult EnterErrorFinish(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  PutBackStoppedServer(wizard);
  view.SetText(ctl::kCancelButton, ReadButtonsSection(script).finishButton);
  view.SetText(ctl::kErrorFinishInfoLabel, script.ReadString(section::kErrorFinishPage, "Info", ""));
  wizard.State().wizardFinished = true;
  view.SetEnabled(ctl::kCancelButton, !wizard.State().runInProgress);  // the run's end enables it
  view.SetEnabled(ctl::kBackButton, false);
  view.SetEnabled(ctl::kNextButton, false);
  view.SetVisible(ctl::kWebBrowserButton, wizard.Finish().showErrorLink);
  return {section::kErrorFinishPage};
}

}  // namespace ostravel::wizard
