#include "installer/app/application.h"

#include "installer/engine/finish_install.h"
#include "installer/engine/run_context.h"
#include "installer/net/installer_version.h"
#include "installer/net/proxy_settings.h"
#include "installer/net/update_script.h"
#include "installer/net/web_file_check.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel {

Application::Application(platform::Platform& machine, ProcessState& process, ui::MessageDialogs& dialogs)
    : machine_(machine),
      process_(process),
      dialogs_(dialogs, process),
      variables_(machine.registry, process.windowsFolder, process.systemFolder, process.tempFolder,
                 process.sourceFolder),
      log_(machine.files, machine.system, process.tempFolder),
      services_{machine, process, variables_, log_, dialogs_} {
  if (!process.switches.logPath.empty()) log_.UsePath(process.switches.logPath);
}

void Application::Run(ProgramWindows& windows) {
  RunProgramBody(machine_, process_, windows, dialogs_);
  EndProcess(machine_.files, process_);
}

wizard::BackgroundSettings Application::ReadBackground() {
  return WithScript(machine_.files, process_.backgroundScriptPath,
                    [](const TExtIniFile& script) { return wizard::ReadBackgroundSettings(script); });
}

std::unique_ptr<wizard::WizardSink> Application::CreateWizard(wizard::WizardView& view) {
  return std::make_unique<wizard::WizardController>(
      view, services_, wizard::WizardBindings{engine::RunInstallation, engine::FinishInstallation, BindWebSteps(view)});
}

namespace {

// The wizard window's plain error box ("Error", "OK", not localised) as a dialog,
// so that an unattended run answers it as it answers every box.
class PlainErrorBox : public ui::MessageDialogs {
 public:
  PlainErrorBox(wizard::WizardView& view, ProcessState& process) : view_(view), box_(*this, process) {}
  void Show(const std::string& text) { box_.ShowMessage(text, ui::MsgDlgType::Error, ui::mbOK, 0); }
  int ShowMessage(const std::string& text, ui::MsgDlgType, uint32_t, int) override {
    view_.ShowSystemError(text);
    return ui::mrOk;
  }

 private:
  wizard::WizardView& view_;
  UnattendedDialogs box_;
};

}  // namespace

// The web update's network steps, with the plain error box of the wizard window.
wizard::WebSteps Application::BindWebSteps(wizard::WizardView& view) {
  auto box = std::make_shared<PlainErrorBox>(view, process_);
  auto net = [this, box] { return net::NetContext{services_, [box](const std::string& text) { box->Show(text); }}; };
  wizard::WebSteps steps;
  steps.fileExists = [net](const std::string& url) { return net::WebFileExists(net(), url); };
  steps.downloadUpdateScript = [net](const model::WebUpdate& web) { return net::DownloadUpdateScript(net(), web); };
  steps.installerVersionCheck = [net](model::WebUpdate& web, bool webUpdateKind, bool windowsVariant) {
    return net::InstallerVersionCheck(net(), web, webUpdateKind, windowsVariant);
  };
  steps.proxySettings = [this](model::WebUpdate& web, const wizard::WebSteps::ProxyDialog& showDialog) {
    net::ProxySettingsButtonClick(machine_.registry, machine_.http, web.proxy, showDialog);
  };
  return steps;
}

}  // namespace ostravel
