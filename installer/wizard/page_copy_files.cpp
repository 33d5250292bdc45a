// CopyFiles: the frame around the installation or uninstall run, and the download box captions.
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/server_bridge.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

// Marks the run as working for as long as it works, whatever way it ends.
class RunningScope {
 public:
  explicit RunningScope(WizardState& state) : state_(state) { state_.runInProgress = true; }
  ~RunningScope() {
    state_.runInProgress = false;
    state_.runDone = true;
  }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;

 private:
  WizardState& state_;
};

}  // namespace

// The run's frame: buttons locked while it works, then Next carries on. A run
// that stopped on the error page leaves it as the error page made it: Finish, and
// no way back.
PageEntryResult EnterCopyFiles(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  const ButtonsSection buttons = ReadButtonsSection(script);
  view.SetText(ctl::kCancelButton, buttons.cancelButton);
  view.SetEnabled(ctl::kCancelButton, false);
  view.SetEnabled(ctl::kBackButton, false);
  view.SetEnabled(ctl::kNextButton, false);
  if (!wizard.Uninstall()) {
    const PageHeader header = ReadPageHeader(script, section::kCopyFilesPage);
    view.SetText(ctl::kInstallTitleLabel, wizard.Expand(header.title));
    view.SetText(ctl::kInstallDescriptionLabel, wizard.Expand(header.description));
    const CopyFilesPageSection page = ReadCopyFilesPageSection(script);
    view.SetText(ctl::kGbDownloadStatistics, page.wuStatGroupHeader);
    view.SetText(ctl::kWUStatCurrentPackageCaption, page.wuStatCurrentPackage + " ");
    view.SetText(ctl::kWUStatPackageSizeCaption, page.wuStatPackageSize);
    view.SetText(ctl::kWUStatDownloadedCaption, page.wuStatDownloaded);
    view.SetText(ctl::kWUStatAvgSpeedCaption, page.wuStatAvgSpeed);
  }
  if (wizard.Bindings().installRun) {
    RunningScope running(wizard.State());
    engine::RunContext context = wizard.MakeRunContext();
    ServerHeldByRun held(wizard);
    wizard.Bindings().installRun(context);
  }
  PutBackStoppedServer(wizard);
  wizard.State().runDone = true;
  if (wizard.CurrentPage() != Page::CopyFiles) {
    view.SetEnabled(ctl::kCancelButton, true);
    return {};
  }
  view.SetText(ctl::kCancelButton, buttons.closeButton);
  view.SetEnabled(ctl::kCancelButton, true);
  view.SetEnabled(ctl::kBackButton, false);
  view.SetEnabled(ctl::kNextButton, false);
  wizard.NextButtonClick();
  return {};  // the header is the run's
}

}  // namespace ostravel::wizard
