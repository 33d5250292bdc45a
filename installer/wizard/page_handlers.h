#pragma once
// The selection pages' event handlers and the pieces they share, one group per page;
// the event table binds them to the controls.
#include <cstdint>
#include <string>

#include "installer/script/ext_ini_file.h"

namespace ostravel::wizard {

class WizardController;

// InstallKind.
void cxInstallKindEnter(WizardController& wizard);
void cxInstallKindSelect(WizardController& wizard);
void ProxySettingsButtonClick(WizardController& wizard);
bool InstallKindLeaveCheck(WizardController& wizard, const TExtIniFile& script);
// Whether the Custom or the WebUpdate kind is the one selected.
bool CustomKindSelected(WizardController& wizard);
bool WebUpdateKindSelected(WizardController& wizard);

// Customize.
void clbComponentsClickCheck(WizardController& wizard);
void clbComponentsClick(WizardController& wizard);

// Destination.
void lvDestinationsSelectItem(WizardController& wizard);
void eDestinationChange(WizardController& wizard);
void ChangeButtonClick(WizardController& wizard);
bool DestinationLeaveCheck(WizardController& wizard, const TExtIniFile& script);
// What the installation takes on the disk: the sizes of the script's [Files],
// summed in 64 bits (the script's values are 32-bit, their total need not be).
int64_t RequiredBytes(const TExtIniFile& script);

// CreateIcon.
void IconsListClick(WizardController& wizard);
void cbDoNotCreateIconsClick(WizardController& wizard);

}  // namespace ostravel::wizard
