// Finished: the end of a completed installation or removal.
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/server_bridge.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

PageEntryResult EnterFinished(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  PutBackStoppedServer(wizard);
  // The record's final block and the shared uninstaller with its script copy.
  if (!wizard.Uninstall() && wizard.Bindings().finishInstall) {
    engine::RunContext context = wizard.MakeRunContext();
    wizard.Bindings().finishInstall(context);
  }
  view.SetText(ctl::kCancelButton, ReadButtonsSection(script).finishButton);
  const FinishPageSection page = ReadFinishPageSection(script);
  view.SetText(ctl::kFinishedLabel, wizard.Web().noUpdateFound ? page.noNewWebUpdate : page.info);
  wizard.State().wizardFinished = true;
  view.SetEnabled(ctl::kBackButton, false);
  view.SetEnabled(ctl::kNextButton, false);
  if (wizard.Silent() && !wizard.Uninstall()) wizard.FormClose();
  return {section::kFinishPage};
}

}  // namespace ostravel::wizard
