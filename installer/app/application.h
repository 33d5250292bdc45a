#pragma once
// The program's assembly: the process services (machine, path variables, log,
// dialogs answered for an unattended run) and the binding of the wizard to the installation engine, the web update
// and the database-server code. `main` owns the one instance.
#include <memory>

#include "installer/app/program.h"
#include "installer/script/process_services.h"
#include "installer/script/unattended_dialogs.h"
#include "installer/wizard/background_settings.h"
#include "installer/wizard/web_steps.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel {

class Application : public wizard::WizardFactory {
 public:
  // `process` is already initialised (InitProcessState).
  Application(platform::Platform& machine, ProcessState& process, ui::MessageDialogs& dialogs);

  // The program body and process end; the windows are shown through `windows`.
  void Run(ProgramWindows& windows);

  // A wizard for a window, bound to the installation run.
  std::unique_ptr<wizard::WizardSink> CreateWizard(wizard::WizardView& view) override;

  // What the background window shows, from the background script.
  wizard::BackgroundSettings ReadBackground();

  PathVariables& Variables() { return variables_; }
  DiagnosticLog& Log() { return log_; }

 private:
  wizard::WebSteps BindWebSteps(wizard::WizardView& view);

  platform::Platform& machine_;
  ProcessState& process_;
  UnattendedDialogs dialogs_;
  PathVariables variables_;
  DiagnosticLog log_;
  Services services_;
};

}  // namespace ostravel
