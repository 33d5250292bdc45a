#include "installer/app/application.h"

#include "installer/engine/finish_install.h"
#include "installer/engine/install_run.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel {

Application::Application(platform::Platform& machine, ProcessState& process, ui::MessageDialogs& dialogs)
    : machine_(machine), process_(process), dialogs_(dialogs),
      variables_(machine.registry, process.windowsFolder, process.systemFolder, process.tempFolder,
                 process.sourceFolder),
      log_(machine.files, machine.system, process.tempFolder) {}

void Application::Run(ProgramWindows& windows) {
  RunProgramBody(machine_, process_, windows);
  EndProcess(machine_.files, process_);
}

wizard::BackgroundSettings Application::ReadBackground() {
  return WithScript(machine_.files, process_.backgroundScriptPath,
                    [](const TExtIniFile& script) { return wizard::ReadBackgroundSettings(script); });
}

std::unique_ptr<wizard::WizardSink> Application::CreateWizard(wizard::WizardView& view) {
  auto wizard = std::make_unique<wizard::WizardController>(
      view, wizard::WizardServices{process_, machine_, variables_, log_, dialogs_});
  wizard->installRun = [](engine::RunContext& run) {
    if (run.process.uninstallMode)
      engine::RunUninstall(run);
    else
      engine::RunInstall(run);
  };
  wizard->finishInstall = engine::FinishInstallation;
  return wizard;
}

}  // namespace ostravel
