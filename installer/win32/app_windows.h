#pragma once
// The windows the program body opens: the wizard, the background window and the
// localised message dialog.
#include "installer/ui/message_dialog.h"
#include "installer/wizard/background_settings.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::win32 {

// Creates TInstallerMainForm with the logic `factory` makes, shows it modally, frees it.
void ShowWizardModal(wizard::WizardFactory& factory);
// Creates TInstallerBackForm, which shows the wizard itself; modal; freed after.
void ShowBackgroundModal(wizard::WizardFactory& factory, const wizard::BackgroundSettings& settings);
ui::MessageDialogs& AppMessageDialogs();

}  // namespace ostravel::win32
