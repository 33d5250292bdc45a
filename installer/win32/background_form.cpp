// TInstallerBackForm is not built yet: until it is, a script that asks for the
// background window still gets its wizard, only without the gradient behind it.
#include "installer/win32/app_windows.h"

namespace ostravel::win32 {

void ShowBackgroundModal(wizard::WizardFactory& factory) { ShowWizardModal(factory); }

}  // namespace ostravel::win32
