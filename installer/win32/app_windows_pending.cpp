// Interim window until the background window lands.
#include "installer/platform/win32/windows_clean.h"

#include "installer/win32/app_windows.h"

namespace ostravel::win32 {

void ShowBackgroundModal(platform::Platform&, ProcessState& state) { state.exitCode = 1; }

}  // namespace ostravel::win32
