#include "installer/win32/proxy_settings_form.h"

#include "installer/win32/modal_form.h"
#include "installer/wizard/proxy_settings_dialog.h"

namespace ostravel::win32 {

bool ShowProxySettingsForm(HWND owner, model::ProxySettings& values) {
  return wizard::RunProxySettingsDialog(values, [owner](wizard::FormLogic& dialog) {
    return RunModalForm(owner, wizard::FormId::ProxySettings, dialog);
  });
}

}  // namespace ostravel::win32
