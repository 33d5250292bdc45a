#pragma once
// The wizard window's logic: window creation and closing, the notebook's page
// entries, Back/Next/Cancel, the error jump and the unattended start. Everything it
// shows goes through WizardView; everything it touches on the machine through the
// platform interfaces.
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "installer/engine/run_context.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/process_services.h"
#include "installer/model/finish_actions.h"
#include "installer/model/install_record_entries.h"
#include "installer/model/selection.h"
#include "installer/model/server_decisions.h"
#include "installer/model/web_update.h"
#include "installer/wizard/view_download_statistics.h"
#include "installer/wizard/view_progress.h"
#include "installer/wizard/web_steps.h"
#include "installer/wizard/wizard_state.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::wizard {

// What the application binds the wizard to. An unset run or finish step is
// skipped; unset web steps behave as an unreachable update site.
struct WizardBindings {
  // The installation or uninstall run of the progress page.
  engine::RunFn installRun;
  // Entering the finish page in install mode.
  engine::RunFn finishInstall;
  // The web update's network steps.
  WebSteps webSteps;
};

// Shown when the user leaves before the end.
extern const char* const kCancelledByUser;
// Uninstall start without an installation record.
extern const char* const kNoInstallRecord;

class WizardController : public WizardSink {
 public:
  WizardController(WizardView& view, ostravel::Services& services, WizardBindings bindings);
  WizardController(const WizardController&) = delete;
  WizardController& operator=(const WizardController&) = delete;

  // Window lifecycle; each runs guarded.
  void FormCreate() override;
  void FormActivate() override;
  // A close request (Cancel, title bar, unattended end): the closing rules decide.
  void FormClose() override;
  void FormDestroy() override;
  // A control's event, dispatched through the event table, guarded.
  void OnEvent(const std::string& control, ControlEvent event) override;
  ItemDrawing DrawItem(const std::string& control, int index) override;
  void ReportError(const std::string& message) override { ErrorJumpSafely(message); }

  // Handlers.
  void NextButtonClick();
  void BackButtonClick();
  void CancelButtonClick() { FormClose(); }
  void InformationButtonClick();
  void WebBrowserButtonClick();
  void cxProgramYearSelect();

  // The error jump: the message becomes a line of the error memo and the wizard
  // moves to the error page.
  void ApplicationEventsException(const std::string& message);

  // Runs a handler; an error escaping it goes to the error jump. Every event of the
  // window comes in through here.
  void Guarded(const std::function<void()>& handler);

  // Switches the notebook; page entry runs unless the page is already shown.
  void GoToPage(Page page);
  std::optional<Page> CurrentPage() const { return current_; }
  bool Closed() const { return closed_; }

  // For the page pieces.
  WizardView& View() { return view_; }
  WizardState& State() { return state_; }
  model::Selection& Selection() { return selection_; }
  model::ServerDecisions& Server() { return server_; }
  model::WebUpdate& Web() { return web_; }
  model::InstallRecordEntries& Record() { return record_; }
  model::FinishActions& Finish() { return finish_; }
  ViewProgress& Progress() { return progress_; }
  ostravel::Services& Services() const { return services_; }
  bool Silent() const { return services_.process.SilentMode(); }
  bool Uninstall() const { return services_.process.UninstallMode(); }
  std::string Expand(const std::string& text) const { return services_.variables.ExpandVariables(text); }
  // For the web-update kind the program year in a text is the chosen one.
  std::string WithChosenYear(const std::string& text);
  // Sets the destination edit (shown in upper case) and $DefaultDestination$.
  void SetDestination(const std::string& path);

  // An unattended run met what it cannot decide: exit code 1, and the reason in the
  // diagnostic log.
  void StopUnattended(const std::string& reason);

  const WizardBindings& Bindings() const { return bindings_; }
  // What the run receives: the services, the models and the choices on the pages.
  engine::RunContext MakeRunContext();

 private:
  void CreateForm();
  void CloseForm();
  void StartSilently();
  void EndUnattendedRun();
  void NotebookPageChanged();
  void UpdateHeader(const TExtIniFile& script, const std::string& pageSection);
  void ClosingActions();
  void StartRestartCommand();
  void ReadScriptAtCreation();
  void ApplyRegistryDefaultPath(const std::string& registryDefaultPath);
  void ApplyDriveToWinDrive();
  void StartUninstallMode();
  void ReadProxySettings();
  std::string BuildInfoText();
  void ErrorJumpSafely(const std::string& message);

  WizardView& view_;
  ostravel::Services& services_;
  const WizardBindings bindings_;
  WizardState state_;
  model::Selection selection_;
  model::ServerDecisions server_;
  model::WebUpdate web_;
  model::InstallRecordEntries record_;
  model::FinishActions finish_;
  ViewProgress progress_;
  ViewDownloadStatistics statistics_;
  std::optional<Page> current_;
  bool startedSilently_ = false;
  bool activated_ = false;
  bool closed_ = false;
};

}  // namespace ostravel::wizard
