#pragma once
// The windows the program body opens: the wizard, the background window and the
// localised message dialog.
#include "installer/app/process_state.h"
#include "installer/platform/platform.h"
#include "installer/ui/message_dialog.h"

namespace ostravel::win32 {

// Creates TInstallerMainForm, shows it modally, frees it.
void ShowWizardModal(platform::Platform& platform, ProcessState& state);
// Creates TInstallerBackForm, which shows the wizard itself; modal; freed after.
void ShowBackgroundModal(platform::Platform& platform, ProcessState& state);
ui::MessageDialogs& AppMessageDialogs();

}  // namespace ostravel::win32
