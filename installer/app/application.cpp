#include "installer/app/application.h"

#include "installer/net/installer_version.h"
#include "installer/net/proxy_settings.h"
#include "installer/net/update_script.h"
#include "installer/net/web_file_check.h"
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
  BindWebSteps(wizard->webSteps, view);
  wizard->installRun = [](engine::RunContext& run) {
    if (run.process.uninstallMode)
      engine::RunUninstall(run);
    else
      engine::RunInstall(run);
  };
  wizard->finishInstall = engine::FinishInstallation;
  return wizard;
}

// The web update's network steps, with the plain error box of the wizard window.
void Application::BindWebSteps(wizard::WebSteps& steps, wizard::WizardView& view) {
  auto net = [this, &view] {
    return net::NetContext{machine_, process_, variables_, log_, dialogs_,
                           [&view](const std::string& text) { view.ShowSystemError(text); }};
  };
  steps.fileExists = [net](const std::string& url) { return net::WebFileExists(net(), url); };
  steps.downloadUpdateScript = [net](const model::WebUpdate& web) { return net::DownloadUpdateScript(net(), web); };
  steps.installerVersionCheck = [net](model::WebUpdate& web, bool webUpdateKind, bool windowsVariant) {
    return net::InstallerVersionCheck(net(), web, webUpdateKind, windowsVariant);
  };
  steps.proxySettings = [this](model::WebUpdate& web, const wizard::WebSteps::ProxyDialog& showDialog) {
    net::ProxySettingsButtonClick(machine_.registry, machine_.http, web.proxy, showDialog);
  };
}

}  // namespace ostravel
